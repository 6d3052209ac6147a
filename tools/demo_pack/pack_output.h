#pragma once
// Writing the packed executable so that OUT is either the old file or the complete new one.

#include <cstdint>
#include <filesystem>
#include <span>

namespace demo {

// Writes the bytes to a temporary file beside `path`, makes it executable (execute permission
// wherever read permission is given; not with executable false) and renames it over `path`. On any
// failure the temporary file is removed and `path` is untouched. Throws std::runtime_error naming
// the file.
void writeExecutable(const std::filesystem::path& path, std::span<const uint8_t> bytes, bool executable = true);

}  // namespace demo
