#pragma once
// Which files go into an archive and under which names.

#include <filesystem>
#include <string>
#include <vector>

namespace demo {

struct PackInput {
  std::string name;  // the member name: backslashes separate folders
  std::filesystem::path path;
};

// An entry of a packed folder that is not packed, and why.
struct SkippedInput {
  std::filesystem::path path;
  std::string reason;  // "a link to a folder (not followed)", "a dangling link", "a FIFO", ...
};

// Expands FILE and DIR arguments in order. A file is named by its file name; a folder's files (all
// levels below it) by their path relative to the folder, sorted by that name so that the same
// folder always gives the same archive. A link to a file is packed under the link's own name.
// Files equivalent to one in `exclude` (the output being written, the executable) are left out.
// Everything below a folder that is not packed goes to `skipped`, when given, with the reason.
// Throws std::runtime_error, naming the file, when an argument does not exist or two files would
// get the same name (ignoring ASCII case and slash against backslash, as archive lookups do).
std::vector<PackInput> collectInputs(const std::vector<std::filesystem::path>& arguments,
                                     const std::vector<std::filesystem::path>& exclude = {},
                                     std::vector<SkippedInput>* skipped = nullptr);

// The member name of a path relative to a packed folder.
std::string memberName(const std::filesystem::path& relative);

}  // namespace demo
