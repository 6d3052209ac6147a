#pragma once
// The horizontal box blur that rebuilds an image's 16-bit texture from its 32-bit source (bytes
// blue, green, red, alpha). Output pixel x of a row averages the 2r source pixels x - r ... x + r - 1,
// positions outside the row taking its first or last pixel. The division by 2r is a multiplication
// by floor(2047 / r) or floor(8191 / r) keeping the high 16 bits, which lands the average directly
// on 4 or 6 bits; the truncation of those multipliers is part of how the blur looks (a uniform
// mid grey comes out one step darker than its plain conversion).
//
// Every path gives the same pixels; the SSE2 one is what x86-64 machines run.

#include <cstdint>

namespace demo {

enum class BlurLayout {
  R5G6B5,    // 6-bit channels, blue and red halved to 5; the source alpha is summed and dropped
  A4R4G4B4,  // 4-bit channels
};

// The window sums stay below 32768, the range of the signed 16-bit lanes the blur works in, up to
// this radius (2 x 64 x 255 = 32640).
inline constexpr int32_t MaxBlurRadius = 64;

// Pitches are in bytes. radius is clamped to 1 ... MaxBlurRadius: a larger level blurs as much as
// the largest supported one. Any width works; rows narrower than 2 x radius take the general path.
void blurRows(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
              uint32_t width, uint32_t height, int32_t radius, BlurLayout layout);

// The portable path: one running sum per channel, edge positions clamped pixel by pixel, so any
// width and any radius from 1 to MaxBlurRadius are safe.
void blurRowsScalar(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                    uint32_t width, uint32_t height, int32_t radius, BlurLayout layout);

#if defined(__SSE2__)
inline constexpr bool HaveSse2Blur = true;
// Two rows at once, the four channels of each in four 16-bit lanes; the row runs in three phases
// (left edge, middle, right edge) without clamping, which needs 1 <= radius <= MaxBlurRadius and
// 2 x radius <= width.
void blurRowsSse2(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                  uint32_t width, uint32_t height, int32_t radius, BlurLayout layout);
#else
inline constexpr bool HaveSse2Blur = false;
#endif

// floor(2047 / r) for 4-bit results, floor(8191 / r) for 6-bit ones.
constexpr int32_t blurMultiplier(int32_t radius, BlurLayout layout) {
  return (layout == BlurLayout::A4R4G4B4 ? 2047 : 8191) / radius;
}

}  // namespace demo
