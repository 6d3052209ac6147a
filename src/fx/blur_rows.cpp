#include "fx/blur_rows.h"

#include <algorithm>
#include <cstring>

namespace demo {

namespace {

// The pixel of one window: each channel (sum x multiplier) >> 16.
uint16_t packBlurred(const int32_t sum[4], int32_t multiplier, BlurLayout layout) {
  int32_t c[4];
  for (int k = 0; k < 4; ++k) c[k] = (sum[k] * multiplier) >> 16;
  if (layout == BlurLayout::A4R4G4B4) return static_cast<uint16_t>(c[0] | c[1] << 4 | c[2] << 8 | c[3] << 12);
  return static_cast<uint16_t>(c[0] >> 1 | c[1] << 5 | (c[2] >> 1) << 11);
}

void blurRowScalar(uint8_t* out, const uint8_t* in, int32_t width, int32_t radius, int32_t multiplier,
                   BlurLayout layout) {
  const int32_t last = width - 1;
  // The window of output 0: radius copies of the first pixel, then pixels 0 ... radius - 1.
  int32_t sum[4];
  for (int k = 0; k < 4; ++k) sum[k] = radius * in[k];
  for (int32_t i = 0; i < radius; ++i)
    for (int k = 0; k < 4; ++k) sum[k] += in[std::min(i, last) * 4 + k];
  for (int32_t x = 0; x < width; ++x) {
    const uint16_t pixel = packBlurred(sum, multiplier, layout);
    std::memcpy(out + x * 2, &pixel, 2);
    const uint8_t* entering = in + std::min(x + radius, last) * 4;
    const uint8_t* leaving = in + std::max(x - radius, 0) * 4;
    for (int k = 0; k < 4; ++k) sum[k] += entering[k] - leaving[k];
  }
}

}  // namespace

void blurRowsScalar(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                    uint32_t width, uint32_t height, int32_t radius, BlurLayout layout) {
  const int32_t multiplier = blurMultiplier(radius, layout);
  for (uint32_t y = 0; y < height; ++y)
    blurRowScalar(destination + static_cast<std::ptrdiff_t>(y) * destinationPitch,
                  source + static_cast<std::ptrdiff_t>(y) * sourcePitch, static_cast<int32_t>(width), radius,
                  multiplier, layout);
}

void blurRows(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
              uint32_t width, uint32_t height, int32_t radius, BlurLayout layout) {
  if (width == 0 || height == 0) return;
  radius = std::clamp(radius, 1, MaxBlurRadius);
#if defined(__SSE2__)
  if (2 * static_cast<uint32_t>(radius) <= width) {
    blurRowsSse2(destination, destinationPitch, source, sourcePitch, width, height, radius, layout);
    return;
  }
#endif
  blurRowsScalar(destination, destinationPitch, source, sourcePitch, width, height, radius, layout);
}

}  // namespace demo
