#pragma once
// Looking into a packed file: its directory (--list) and a check of every member through the
// engine's own Archive (--verify).

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace demo {

// A reader or archive status as words, with its number: "corrupt (262)".
std::string describeStatus(int status);

// Prints one line per directory entry (stored size, original size, method, CRC, name) and a total.
// Throws std::runtime_error, naming the file, when it carries no readable archive.
void listArchive(const std::filesystem::path& path, std::ostream& out);

struct VerifyReport {
  size_t checked = 0;             // members opened and found intact
  size_t withoutCrc = 0;          // of those, members whose record holds no CRC (only decoding was checked)
  size_t skipped = 0;             // entries whose flags the engine passes over
  std::vector<std::string> failures;  // one line per member that cannot be opened or is hidden
};

// Opens every usable member as the show would and checks its size and CRC. Throws
// std::runtime_error, naming the file, when it carries no readable archive.
VerifyReport verifyArchive(const std::filesystem::path& path);

}  // namespace demo
