#pragma once
// Pixel work on 32-bit pictures (bytes blue, green, red, alpha): the nearest-neighbour stretch into
// a texture and the truncating conversions to the two 16-bit texture formats. Pitches are in bytes,
// as a locked texture rectangle gives them.

#include <cstdint>

namespace demo {

// Stretches or squeezes source pixels into destination pixels without filtering: destination pixel
// (x, y) takes source pixel (x * xStep / 256, y * yStep / 256), with xStep = sourceWidth * 256 /
// destinationWidth and yStep likewise, summed incrementally in 8.8 fixed point.
void resample(uint8_t* destination, int32_t destinationPitch, uint32_t destinationWidth, uint32_t destinationHeight,
              const uint8_t* source, uint32_t sourceRowBytes, uint32_t sourceWidth, uint32_t sourceHeight);

// D3DFMT_R5G6B5 by truncation: red and blue keep their top 5 bits, green its top 6.
void convertTo565(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                  uint32_t width, uint32_t height);

// D3DFMT_A4R4G4B4 by truncation: each channel keeps its top 4 bits.
void convertTo4444(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                   uint32_t width, uint32_t height);

// One pixel of each, for callers converting single values.
constexpr uint16_t pixelTo565(uint8_t blue, uint8_t green, uint8_t red) {
  return static_cast<uint16_t>((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3);
}
constexpr uint16_t pixelTo4444(uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha) {
  return static_cast<uint16_t>((alpha >> 4) << 12 | (red >> 4) << 8 | (green >> 4) << 4 | blue >> 4);
}

}  // namespace demo
