#pragma once
// PNG files for snapshots, tga2png and capture: 8-bit RGB or RGBA, rows top to bottom.

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// Writes width x height pixels of `channels` bytes each (3 = RGB, 4 = RGBA), `stride` bytes per
// row, with fast settings (compression level 1, SUB filter): a 640 x 480 frame takes ~20 ms.
// False with a reason in `error` when the file cannot be written.
bool writePng(const char* path, const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride,
              int channels, std::string* error = nullptr);

// Reads any PNG as 8-bit RGBA, top row first. Native build only (it reads through libpng).
bool readPng(const char* path, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height,
             std::string* error = nullptr);

}  // namespace demo
