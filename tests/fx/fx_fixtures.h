#pragma once
// Pictures and textures the effect tests share.

#include <cstdint>
#include <vector>

#include "platform/render_device.h"

namespace demo::test {

// width x height pixels 0xAARRGGBB from a fixed seed, every channel over its whole range.
std::vector<uint32_t> randomPicture(uint32_t width, uint32_t height, uint32_t seed);

// The picture as bytes blue, green, red, alpha, rows `pitch` bytes apart.
std::vector<uint8_t> pictureBytes(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height, uint32_t pitch);

// A 32-bit system-memory texture holding the picture, as loadtexture makes them.
Texture* makeSourceTexture(RenderDevice& device, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb);

// Level 0 of a 16-bit texture, row by row.
std::vector<uint16_t> texels16(Texture* texture);

}  // namespace demo::test
