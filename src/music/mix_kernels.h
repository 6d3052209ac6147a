#pragma once
// The frame loops of the mixer. They take a run already cut at the next loop boundary and ramp end,
// so they test nothing per frame: every frame they read lie before the boundary, where the sample
// data (with its guard sample) is valid. Positions are 32.32 values in one 64-bit word.
//
// Three sets of loops give the same bits: the scalar reference, SSE2 (four frames at a time) and
// AVX2 (eight, chosen at run time). Each computes every output value with the same operations in
// the same order as the reference; only how many frames are in flight differs.

#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define DEMO_MIX_SSE2 1
#endif
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define DEMO_MIX_AVX2 1
#endif

namespace demo::mix {

constexpr float FractionScale = 1.0f / 4294967296.0f;

// Linear interpolation between the sample at the integer part and the next one.
inline float interpolate(const int16_t* data, uint64_t position) {
  const int16_t* p = data + (position >> 32);
  const float t = static_cast<float>(static_cast<uint32_t>(position)) * FractionScale;
  return static_cast<float>(p[0]) + t * static_cast<float>(p[1] - p[0]);
}

// Constant gains, two frames per iteration, then one. Returns the position after the run.
template <bool Backward>
inline uint64_t steadyScalar(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
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

// Gains moving by a fixed step after each frame; one frame per iteration. The gains reached are
// handed back.
template <bool Backward>
inline uint64_t rampScalar(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
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

#ifdef DEMO_MIX_SSE2
inline __m128i pairAt(const int16_t* data, uint64_t position) {
  int32_t pair;
  std::memcpy(&pair, data + (position >> 32), sizeof pair);
  return _mm_cvtsi32_si128(pair);
}

// Four frames of steadyScalar at once, with the same operations in the same order, so the result
// is bit for bit the same: the fraction converts to float with one rounding (its two 16-bit halves
// convert exactly and their scaled sum rounds once), then t, the interpolation and the gains.
inline uint64_t steadyQuads(const int16_t* data, uint64_t position, uint64_t delta, float*& out, int32_t& frames,
                            float gainFirst, float gainSecond) {
  const __m128 first = _mm_set1_ps(gainFirst), second = _mm_set1_ps(gainSecond);
  const __m128 high = _mm_set1_ps(65536.0f), scale = _mm_set1_ps(FractionScale);
  const __m128i lowMask = _mm_set1_epi32(0xFFFF);
  const uint32_t fraction = static_cast<uint32_t>(position), fractionStep = static_cast<uint32_t>(delta);
  __m128i fractions = _mm_setr_epi32(static_cast<int>(fraction), static_cast<int>(fraction + fractionStep),
                                     static_cast<int>(fraction + 2 * fractionStep),
                                     static_cast<int>(fraction + 3 * fractionStep));
  const __m128i fractionAdvance = _mm_set1_epi32(static_cast<int>(4 * fractionStep));
  for (; frames >= 4; frames -= 4, out += 8) {
    // Two neighbouring samples per frame in one 32-bit load, gathered without a trip through memory.
    const __m128i w0 = pairAt(data, position);
    const __m128i w1 = pairAt(data, position + delta);
    const __m128i w2 = pairAt(data, position + 2 * delta);
    const __m128i w3 = pairAt(data, position + 3 * delta);
    position += 4 * delta;
    const __m128i words = _mm_unpacklo_epi64(_mm_unpacklo_epi32(w0, w1), _mm_unpacklo_epi32(w2, w3));
    const __m128i s0 = _mm_srai_epi32(_mm_slli_epi32(words, 16), 16);  // data[i] (little-endian: low half)
    const __m128i s1 = _mm_srai_epi32(words, 16);                        // data[i + 1]
    const __m128 t = _mm_mul_ps(_mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(_mm_srli_epi32(fractions, 16)), high),
                                           _mm_cvtepi32_ps(_mm_and_si128(fractions, lowMask))),
                                scale);
    fractions = _mm_add_epi32(fractions, fractionAdvance);
    const __m128 s = _mm_add_ps(_mm_cvtepi32_ps(s0), _mm_mul_ps(t, _mm_cvtepi32_ps(_mm_sub_epi32(s1, s0))));
    const __m128 a = _mm_mul_ps(s, first), b = _mm_mul_ps(s, second);
    _mm_storeu_ps(out, _mm_add_ps(_mm_loadu_ps(out), _mm_unpacklo_ps(a, b)));
    _mm_storeu_ps(out + 4, _mm_add_ps(_mm_loadu_ps(out + 4), _mm_unpackhi_ps(a, b)));
  }
  return position;
}

template <bool Backward>
inline uint64_t steadySse2(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                           float gainFirst, float gainSecond) {
  position = steadyQuads(data, position, Backward ? 0 - step : step, out, frames, gainFirst, gainSecond);
  return steadyScalar<Backward>(data, position, step, out, frames, gainFirst, gainSecond);
}
#endif

#ifdef DEMO_MIX_AVX2
// True when the processor runs AVX2 (and the system saves its registers).
bool avx2Available();
// Eight frames at a time, the rest through the loops above (mix_kernels_avx2.cpp).
uint64_t steadyAvx2(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                    float gainFirst, float gainSecond);
// convertBlock's loop, 16 values at a time; returns how many it converted (a multiple of 16).
int32_t convertAvx2(int16_t* destination, const float* source, int32_t count);
uint64_t rampAvx2(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                  float& gainFirst, float& gainSecond, float stepFirst, float stepSecond);
#endif

}  // namespace demo::mix
