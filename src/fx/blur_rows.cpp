#include "fx/blur_rows.h"

#include <algorithm>
#include <cstring>

namespace demo {

namespace {

// The four channel sums of a window, as separate fields so that they live in registers.
struct WindowSum {
  int32_t blue, green, red, alpha;

  void add(const uint8_t* p, int32_t times = 1) {
    blue += p[0] * times;
    green += p[1] * times;
    red += p[2] * times;
    alpha += p[3] * times;
  }
  void slide(const uint8_t* entering, const uint8_t* leaving) {
    blue += entering[0] - leaving[0];
    green += entering[1] - leaving[1];
    red += entering[2] - leaving[2];
    alpha += entering[3] - leaving[3];
  }
};

// The pixel of one window: each channel (sum x multiplier) >> 16.
template <BlurLayout Layout>
uint16_t packBlurred(const WindowSum& s, int32_t m) {
  const int32_t b = s.blue * m >> 16, g = s.green * m >> 16, r = s.red * m >> 16;
  if constexpr (Layout == BlurLayout::A4R4G4B4)
    return static_cast<uint16_t>(b | g << 4 | r << 8 | (s.alpha * m >> 16) << 12);
  return static_cast<uint16_t>(b >> 1 | g << 5 | (r >> 1) << 11);
}

template <BlurLayout Layout>
void blurRowScalar(uint8_t* out, const uint8_t* in, int32_t width, int32_t radius, int32_t multiplier) {
  const int32_t last = width - 1;
  // The window of output 0: radius copies of the first pixel, then pixels 0 ... radius - 1.
  WindowSum sum{};
  sum.add(in, radius);
  for (int32_t i = 0; i < radius; ++i) sum.add(in + std::min(i, last) * 4);
  for (int32_t x = 0; x < width; ++x) {
    const uint16_t pixel = packBlurred<Layout>(sum, multiplier);
    std::memcpy(out + x * 2, &pixel, 2);
    sum.slide(in + std::min(x + radius, last) * 4, in + std::max(x - radius, 0) * 4);
  }
}

template <BlurLayout Layout>
void blurRowsScalarIn(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                      uint32_t width, uint32_t height, int32_t radius) {
  const int32_t multiplier = blurMultiplier(radius, Layout);
  for (uint32_t y = 0; y < height; ++y)
    blurRowScalar<Layout>(destination + static_cast<std::ptrdiff_t>(y) * destinationPitch,
                          source + static_cast<std::ptrdiff_t>(y) * sourcePitch, static_cast<int32_t>(width), radius,
                          multiplier);
}

}  // namespace

void blurRowsScalar(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                    uint32_t width, uint32_t height, int32_t radius, BlurLayout layout) {
  if (layout == BlurLayout::A4R4G4B4)
    blurRowsScalarIn<BlurLayout::A4R4G4B4>(destination, destinationPitch, source, sourcePitch, width, height, radius);
  else
    blurRowsScalarIn<BlurLayout::R5G6B5>(destination, destinationPitch, source, sourcePitch, width, height, radius);
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
