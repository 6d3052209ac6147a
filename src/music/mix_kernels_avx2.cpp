// The mixer's frame loops eight frames at a time with AVX2, for processors that have it (the mixer
// asks avx2Available() when it is made, convertBlock at every block). Every value is computed as in
// the scalar reference, with the same operations in the same order and no fused multiply-add, so the
// output is bit for bit the same; a run's last few frames go through the SSE2 or scalar loops.
//
// Lane order: eight frames f0..f7 sit in a vector as f0 f1 f4 f5 | f2 f3 f6 f7. That is the order
// the two 4 x 64-bit position vectors give when their high (or low) halves are shuffled together,
// and the order in which unpacking the first and second channel's products yields the interleaved
// output frames f0..f3 and f4..f7 without crossing the 128-bit halves.

#include "music/mix_kernels.h"

#ifdef DEMO_MIX_AVX2

#include <immintrin.h>

#define DEMO_AVX2 __attribute__((target("avx2")))

namespace demo::mix {
namespace {

// The 32.32 positions of the next eight frames: f0..f3 and f4..f7.
struct Positions {
  __m256i low, high;
};

DEMO_AVX2 inline Positions positionsFrom(uint64_t position, uint64_t delta) {
  const auto at = [&](uint64_t k) { return static_cast<long long>(position + k * delta); };
  return {_mm256_setr_epi64x(at(0), at(1), at(2), at(3)), _mm256_setr_epi64x(at(4), at(5), at(6), at(7))};
}

DEMO_AVX2 inline __m256i integerParts(const Positions& p) {
  return _mm256_castps_si256(
      _mm256_shuffle_ps(_mm256_castsi256_ps(p.low), _mm256_castsi256_ps(p.high), _MM_SHUFFLE(3, 1, 3, 1)));
}

DEMO_AVX2 inline __m256i fractionParts(const Positions& p) {
  return _mm256_castps_si256(
      _mm256_shuffle_ps(_mm256_castsi256_ps(p.low), _mm256_castsi256_ps(p.high), _MM_SHUFFLE(2, 0, 2, 0)));
}

// The interpolated sample of each frame from data[i], data[i + 1] and the fraction: the fraction's
// two 16-bit halves convert exactly and their sum rounds once, as converting the whole 32 bits does.
DEMO_AVX2 inline __m256 interpolate8(__m256i s0, __m256i s1, __m256i fractions) {
  const __m256 high = _mm256_set1_ps(65536.0f), scale = _mm256_set1_ps(FractionScale);
  const __m256i lowMask = _mm256_set1_epi32(0xFFFF);
  const __m256 upper = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fractions, 16)), high);
  const __m256 t = _mm256_mul_ps(_mm256_add_ps(upper, _mm256_cvtepi32_ps(_mm256_and_si256(fractions, lowMask))), scale);
  return _mm256_add_ps(_mm256_cvtepi32_ps(s0), _mm256_mul_ps(t, _mm256_cvtepi32_ps(_mm256_sub_epi32(s1, s0))));
}

// How far eight frames reach into the sample: a step below one sample spans at most 8 samples
// (plus the next one for interpolation), a step below two at most 16; longer steps gather.
enum class Reach { Near, Medium, Far };

Reach reachOf(uint64_t step) {
  const uint64_t whole = step >> 32;
  return whole == 0 ? Reach::Near : whole == 1 ? Reach::Medium : Reach::Far;
}

DEMO_AVX2 inline __m256i window8(const int16_t* data) {
  return _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data)));
}

// Entries 0..15 of the two windows low, high.
DEMO_AVX2 inline __m256i select16(__m256i low, __m256i high, __m256i offsets) {
  return _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(low, offsets), _mm256_permutevar8x32_epi32(high, offsets),
                            _mm256_cmpgt_epi32(offsets, _mm256_set1_epi32(7)));
}

// The eight frames' samples. Near and medium steps load the stretch of samples the frames span,
// starting at the lowest frame's own sample (the first forward, the last backward), and pick each
// frame's pair from it: its last entry lies at most 8 samples beyond a frame's own, within the
// padding that follows every sample's data (a step of at least one sample puts the frames 7 samples
// apart, so the 16-sample stretch ends 8 beyond the highest frame). Far steps gather.
template <bool Backward>
DEMO_AVX2 inline __m256 samplesAt(const int16_t* data, uint64_t position, uint64_t delta, Reach reach,
                                  const Positions& p) {
  const __m256i indices = integerParts(p);
  __m256i s0, s1;
  if (reach == Reach::Far) {
    const __m256i words = _mm256_i32gather_epi32(reinterpret_cast<const int*>(data), indices, 2);
    s0 = _mm256_srai_epi32(_mm256_slli_epi32(words, 16), 16);  // data[i] (little-endian: low half)
    s1 = _mm256_srai_epi32(words, 16);                           // data[i + 1]
  } else {
    const auto base = static_cast<int32_t>((Backward ? position + 7 * delta : position) >> 32);
    const __m256i offsets = _mm256_sub_epi32(indices, _mm256_set1_epi32(base));
    const int16_t* window = data + base;
    if (reach == Reach::Near) {
      s0 = _mm256_permutevar8x32_epi32(window8(window), offsets);
      s1 = _mm256_permutevar8x32_epi32(window8(window + 1), offsets);
    } else {
      const __m256i low = window8(window), high = window8(window + 8);
      s0 = select16(low, high, offsets);
      s1 = select16(low, high, _mm256_add_epi32(offsets, _mm256_set1_epi32(1)));
    }
  }
  return interpolate8(s0, s1, fractionParts(p));
}

// out[2k] += s[k] x first[k], out[2k + 1] += s[k] x second[k] for the eight frames.
DEMO_AVX2 inline void accumulate(float* out, __m256 s, __m256 first, __m256 second) {
  const __m256 a = _mm256_mul_ps(s, first), b = _mm256_mul_ps(s, second);
  _mm256_storeu_ps(out, _mm256_add_ps(_mm256_loadu_ps(out), _mm256_unpacklo_ps(a, b)));
  _mm256_storeu_ps(out + 8, _mm256_add_ps(_mm256_loadu_ps(out + 8), _mm256_unpackhi_ps(a, b)));
}

template <bool Backward>
DEMO_AVX2 uint64_t steady(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                          float gainFirst, float gainSecond) {
  const uint64_t delta = Backward ? 0 - step : step;
  if (frames >= 8) {
    const __m256 first = _mm256_set1_ps(gainFirst), second = _mm256_set1_ps(gainSecond);
    const __m256i advance = _mm256_set1_epi64x(static_cast<long long>(8 * delta));
    const Reach reach = reachOf(step);
    Positions p = positionsFrom(position, delta);
    for (; frames >= 8; frames -= 8, out += 16) {
      accumulate(out, samplesAt<Backward>(data, position, delta, reach, p), first, second);
      position += 8 * delta;
      p.low = _mm256_add_epi64(p.low, advance);
      p.high = _mm256_add_epi64(p.high, advance);
    }
  }
#ifdef DEMO_MIX_SSE2
  return steadySse2<Backward>(data, position, step, out, frames, gainFirst, gainSecond);
#else
  return steadyScalar<Backward>(data, position, step, out, frames, gainFirst, gainSecond);
#endif
}

// The gains of a ramp are a chain of single-precision additions, one per frame, kept exactly as the
// reference adds them; everything else runs eight frames wide beside the chain, whose latency (one
// addition a frame) bounds the loop.
//
// Tried and reverted, twice: computing the gains without the chain. Within a binade of the gain
// (2^e <= gain < 2^(e+1)) every addition adds the step rounded to the binade's unit, so while the sums
// stay inside (and the step is no tie) the gains are gain + j x that increment, exact in double
// precision. Laying out whole stretches first (a division and a few rounding tests per stretch and
// channel), and checking eight frames at a time against the binade's edge, both gave the chain's bits
// and neither was faster: the ramp runs real modules have are cut by ticks and loops to 80 or 90
// frames on average, and the setup per run ate what the chain cost.
template <bool Backward>
DEMO_AVX2 uint64_t ramp(const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                        float& gainFirst, float& gainSecond, float stepFirst, float stepSecond) {
  const uint64_t delta = Backward ? 0 - step : step;
  if (frames >= 8) {
    const __m256i advance = _mm256_set1_epi64x(static_cast<long long>(8 * delta));
    const Reach reach = reachOf(step);
    const __m128 increment = _mm_setr_ps(stepFirst, stepSecond, 0, 0);
    __m128 gains = _mm_setr_ps(gainFirst, gainSecond, 0, 0);  // first, second of the next frame
    Positions p = positionsFrom(position, delta);
    for (; frames >= 8; frames -= 8, out += 16) {
      __m128 g[8];
      for (__m128& frame : g) {
        frame = gains;
        gains = _mm_add_ps(gains, increment);
      }
      // Frames f0..f3 and f4..f7 as first, second pairs, the layout of the output.
      const __m256 pairsLow = _mm256_set_m128(_mm_movelh_ps(g[2], g[3]), _mm_movelh_ps(g[0], g[1]));
      const __m256 pairsHigh = _mm256_set_m128(_mm_movelh_ps(g[6], g[7]), _mm_movelh_ps(g[4], g[5]));
      const __m256 s = samplesAt<Backward>(data, position, delta, reach, p);
      _mm256_storeu_ps(out, _mm256_add_ps(_mm256_loadu_ps(out), _mm256_mul_ps(_mm256_unpacklo_ps(s, s), pairsLow)));
      _mm256_storeu_ps(out + 8,
                       _mm256_add_ps(_mm256_loadu_ps(out + 8), _mm256_mul_ps(_mm256_unpackhi_ps(s, s), pairsHigh)));
      position += 8 * delta;
      p.low = _mm256_add_epi64(p.low, advance);
      p.high = _mm256_add_epi64(p.high, advance);
    }
    float reached[4];
    _mm_storeu_ps(reached, gains);
    gainFirst = reached[0];
    gainSecond = reached[1];
  }
  return rampScalar<Backward>(data, position, step, out, frames, gainFirst, gainSecond, stepFirst, stepSecond);
}

}  // namespace

DEMO_AVX2 int32_t convertAvx2(int16_t* destination, const float* source, int32_t count) {
  const __m256 low = _mm256_set1_ps(-32768.0f), high = _mm256_set1_ps(32767.0f);
  int32_t i = 0;
  for (; i + 16 <= count; i += 16) {
    const __m256 a = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(source + i), low), high);
    const __m256 b = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(source + i + 8), low), high);
    // The pack works within 128-bit halves: a0-3 b0-3 | a4-7 b4-7; the permutation restores the order.
    const __m256i packed = _mm256_packs_epi32(_mm256_cvtps_epi32(a), _mm256_cvtps_epi32(b));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + i),
                        _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
  }
  return i;
}

bool avx2Available() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

uint64_t steadyAvx2(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                    float gainFirst, float gainSecond) {
  return backward ? steady<true>(data, position, step, out, frames, gainFirst, gainSecond)
                  : steady<false>(data, position, step, out, frames, gainFirst, gainSecond);
}

uint64_t rampAvx2(bool backward, const int16_t* data, uint64_t position, uint64_t step, float* out, int32_t frames,
                  float& gainFirst, float& gainSecond, float stepFirst, float stepSecond) {
  return backward ? ramp<true>(data, position, step, out, frames, gainFirst, gainSecond, stepFirst, stepSecond)
                  : ramp<false>(data, position, step, out, frames, gainFirst, gainSecond, stepFirst, stepSecond);
}

}  // namespace demo::mix

#endif
