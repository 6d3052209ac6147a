#include "gfx/pixel_convert.h"

#include <cstddef>
#include <cstring>

namespace demo {

void resample(uint8_t* destination, int32_t destinationPitch, uint32_t destinationWidth, uint32_t destinationHeight,
              const uint8_t* source, uint32_t sourceRowBytes, uint32_t sourceWidth, uint32_t sourceHeight) {
  if (destinationWidth == 0 || destinationHeight == 0 || sourceWidth == 0 || sourceHeight == 0) return;
  const uint32_t xStep = sourceWidth * 256 / destinationWidth;
  const uint32_t yStep = sourceHeight * 256 / destinationHeight;
  // Indices rather than pointers: after the last row the source row may lie beyond the picture.
  size_t sourceRow = 0;
  uint32_t yFraction = 0;
  for (uint32_t y = 0; y < destinationHeight; ++y) {
    const uint8_t* row = source + sourceRow * sourceRowBytes;
    uint8_t* out = destination + static_cast<std::ptrdiff_t>(y) * destinationPitch;
    size_t column = 0;
    uint32_t xFraction = 0;
    for (uint32_t x = 0; x < destinationWidth; ++x) {
      std::memcpy(out + x * 4, row + column * 4, 4);
      xFraction += xStep;
      column += xFraction >> 8;
      xFraction &= 0xFF;
    }
    yFraction += yStep;
    sourceRow += yFraction >> 8;
    yFraction &= 0xFF;
  }
}

namespace {

// Both conversions go pixel by pixel, so a width that is not a multiple of four ends exactly at the
// row's last pixel. Whole words in and out (little-endian, as the texture formats are) let the
// compiler vectorise the loop.
template <uint16_t (*Pack)(uint32_t)>
void convertRows(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                 uint32_t width, uint32_t height) {
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = source + static_cast<std::ptrdiff_t>(y) * sourcePitch;
    uint8_t* out = destination + static_cast<std::ptrdiff_t>(y) * destinationPitch;
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, in + x * 4, 4);
      const uint16_t packed = Pack(pixel);
      std::memcpy(out + x * 2, &packed, 2);
    }
  }
}

uint16_t pack565(uint32_t p) {
  return static_cast<uint16_t>((p >> 8 & 0xF800) | (p >> 5 & 0x07E0) | (p >> 3 & 0x001F));
}
uint16_t pack4444(uint32_t p) {
  return static_cast<uint16_t>((p >> 16 & 0xF000) | (p >> 12 & 0x0F00) | (p >> 8 & 0x00F0) | (p >> 4 & 0x000F));
}

}  // namespace

void convertTo565(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                  uint32_t width, uint32_t height) {
  convertRows<pack565>(destination, destinationPitch, source, sourcePitch, width, height);
}

void convertTo4444(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                   uint32_t width, uint32_t height) {
  convertRows<pack4444>(destination, destinationPitch, source, sourcePitch, width, height);
}

}  // namespace demo
