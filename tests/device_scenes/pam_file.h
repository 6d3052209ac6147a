#pragma once
// Snapshots on disk as PAM (Netpbm's RGB_ALPHA images): a text header and the raw bytes, written and
// read the same way by both builds, with no image library (the Windows build has none).

#include <cstdint>
#include <string>
#include <vector>

namespace demo::scenes {

bool writePam(const std::string& path, const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height);
// False unless the file is a PAM of depth 4 and maxval 255 that holds all its pixels.
bool readPam(const std::string& path, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height);

}  // namespace demo::scenes
