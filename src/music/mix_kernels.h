#pragma once
// The frame loops of the mixer. They take a run already cut at the next loop boundary and ramp end,
// so they test nothing per frame: every frame they read lie before the boundary, where the sample
// data (with its guard sample) is valid. Positions are 32.32 values in one 64-bit word.

#include <cstdint>

namespace demo::mix {

constexpr float FractionScale = 1.0f / 4294967296.0f;

// Linear interpolation between the sample at the integer part and the next one.
inline float interpolate(const int16_t* data, uint64_t position) {
  const int16_t* p = data + (position >> 32);
  const float t = static_cast<float>(static_cast<uint32_t>(position)) * FractionScale;
  return static_cast<float>(p[0]) + t * static_cast<float>(p[1] - p[0]);
}

// Constant gains; two frames per iteration. Returns the position after the run.
template <bool Backward>
inline uint64_t mixSteady(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                          float gainFirst, float gainSecond) {
  const uint64_t delta = Backward ? 0 - step : step;  // modular: subtracting is adding the negation
  for (; frames >= 2; frames -= 2, out += 4) {
    const float s0 = interpolate(data, position);
    const float s1 = interpolate(data, position + delta);
    position += 2 * delta;
    out[0] += s0 * gainFirst;
    out[1] += s0 * gainSecond;
    out[2] += s1 * gainFirst;
    out[3] += s1 * gainSecond;
  }
  if (frames) {
    const float s = interpolate(data, position);
    position += delta;
    out[0] += s * gainFirst;
    out[1] += s * gainSecond;
  }
  return position;
}

// Gains moving by a fixed step after each frame; one frame per iteration.
template <bool Backward>
inline uint64_t mixRamp(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                        float& gainFirst, float& gainSecond, float stepFirst, float stepSecond) {
  const uint64_t delta = Backward ? 0 - step : step;
  float a = gainFirst, b = gainSecond;
  for (; frames > 0; --frames, out += 2) {
    const float s = interpolate(data, position);
    position += delta;
    out[0] += s * a;
    out[1] += s * b;
    a += stepFirst;
    b += stepSecond;
  }
  gainFirst = a;
  gainSecond = b;
  return position;
}

}  // namespace demo::mix
