#pragma once
// What `demo-pack --verify` says of a packed show's script: demo.run compiled from the archive as
// the show would compile it, and every file it names looked for among the members, since a name
// that is not a member is read from the disk of whoever runs the show.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

struct ScriptReport {
  bool present = false;  // the archive has a demo.run member
  size_t files = 0;      // files the script names, all members when failures is empty
  std::vector<std::string> failures;  // "demo.run:LINE: ..." for each
};

// Throws std::runtime_error, naming the file, when it carries no readable archive.
ScriptReport verifyScript(const std::filesystem::path& path);

}  // namespace demo
