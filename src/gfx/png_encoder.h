#pragma once
// A PNG file's bytes made with zlib alone, for the build that has no libpng (Windows): 8-bit RGB or
// RGBA, no interlacing, every row with the SUB filter and deflated at level 1, the settings
// png_file.cpp gives libpng. Any PNG reader reads it back.

#include <cstdint>
#include <vector>

namespace demo {

// False when the layout is invalid or zlib fails.
bool encodePng(const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride, int channels,
               std::vector<uint8_t>& png);

}  // namespace demo
