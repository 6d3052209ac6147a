// convertBlock: the float mix to 16-bit PCM.

#include <cmath>

#include "music/mix_kernels.h"
#include "music/mixer.h"

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define DEMO_CONVERT_SSE2 1
#endif

namespace demo {

void convertBlock(int16_t* destination, const float* source, int32_t frameCount) {
  if (frameCount <= 0 || !destination || !source) return;
  const int32_t count = frameCount * 2;
  int32_t i = 0;
#ifdef DEMO_MIX_AVX2
  if (mix::avx2Available()) i = mix::convertAvx2(destination, source, count);
#endif
#ifdef DEMO_CONVERT_SSE2
  // Clamping in float first keeps values beyond the int32 range from converting to INT_MIN;
  // cvtps2dq rounds to nearest even under the default rounding mode, as lrintf does below.
  const __m128 low = _mm_set1_ps(-32768.0f), high = _mm_set1_ps(32767.0f);
  for (; i + 8 <= count; i += 8) {
    const __m128 a = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(source + i), low), high);
    const __m128 b = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(source + i + 4), low), high);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i),
                     _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b)));
  }
#endif
  for (; i < count; ++i) {
    float v = source[i];
    v = v < -32768.0f ? -32768.0f : v > 32767.0f ? 32767.0f : v;
    destination[i] = static_cast<int16_t>(std::lrintf(v));
  }
}

}  // namespace demo
