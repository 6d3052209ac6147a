// The blur with SSE2: lanes 0-3 carry blue, green, red and alpha of one row, lanes 4-7 those of the
// next, so one running sum serves two rows. The lanes are signed 16-bit, which the window sums
// fit up to MaxBlurRadius; _mm_mulhi_epi16 is the high-half product of the scalar path exactly.
#include "fx/blur_rows.h"

#if defined(__SSE2__)

#include <emmintrin.h>

#include <cstring>

namespace demo {

namespace {

// Pixel x of both rows, each byte widened to a 16-bit lane.
inline __m128i pixelPair(const uint8_t* rowA, const uint8_t* rowB, int32_t x) {
  int32_t a, b;
  std::memcpy(&a, rowA + x * 4, 4);
  std::memcpy(&b, rowB + x * 4, 4);
  const __m128i both = _mm_unpacklo_epi32(_mm_cvtsi32_si128(a), _mm_cvtsi32_si128(b));
  return _mm_unpacklo_epi8(both, _mm_setzero_si128());
}

// The channel values of both pixels packed into the output words. _mm_madd_epi16 places the
// channels and adds them in pairs; adding the upper 32 bits of each half finishes the word.
struct Packer {
  explicit Packer(BlurLayout layout) : layout(layout) {
    if (layout == BlurLayout::A4R4G4B4) {
      weights = _mm_setr_epi16(1, 16, 256, 4096, 1, 16, 256, 4096);
      mask = _mm_set1_epi16(-1);
    } else {
      // Blue and red lose their lowest bit; everything is doubled here and halved after the sum.
      weights = _mm_setr_epi16(1, 64, 2048, 0, 1, 64, 2048, 0);
      mask = _mm_setr_epi16(0x3E, 0x3F, 0x3E, 0, 0x3E, 0x3F, 0x3E, 0);
    }
  }

  void store(uint8_t* outA, uint8_t* outB, int32_t x, __m128i channels) const {
    __m128i words = _mm_madd_epi16(_mm_and_si128(channels, mask), weights);
    words = _mm_add_epi32(words, _mm_srli_epi64(words, 32));
    if (layout == BlurLayout::R5G6B5) words = _mm_srli_epi32(words, 1);
    const auto a = static_cast<uint16_t>(_mm_cvtsi128_si32(words));
    const auto b = static_cast<uint16_t>(_mm_extract_epi16(words, 4));
    std::memcpy(outA + x * 2, &a, 2);
    std::memcpy(outB + x * 2, &b, 2);
  }

  BlurLayout layout;
  __m128i weights;
  __m128i mask;
};

// Rows A and B (the same row twice for an odd last row: both lanes then write the same words).
void blurRowPair(uint8_t* outA, uint8_t* outB, const uint8_t* inA, const uint8_t* inB, int32_t width, int32_t radius,
                 __m128i multiplier, const Packer& packer) {
  const int32_t last = width - 1;
  const __m128i first = pixelPair(inA, inB, 0);
  __m128i sum = _mm_mullo_epi16(first, _mm_set1_epi16(static_cast<int16_t>(radius)));
  for (int32_t i = 0; i < radius; ++i) sum = _mm_add_epi16(sum, pixelPair(inA, inB, i));

  int32_t x = 0;
  for (; x < radius; ++x) {  // the window's left end lies before the row: it drops the first pixel
    packer.store(outA, outB, x, _mm_mulhi_epi16(sum, multiplier));
    sum = _mm_add_epi16(sum, _mm_sub_epi16(pixelPair(inA, inB, x + radius), first));
  }
  for (; x < width - radius; ++x) {
    packer.store(outA, outB, x, _mm_mulhi_epi16(sum, multiplier));
    sum = _mm_add_epi16(sum, _mm_sub_epi16(pixelPair(inA, inB, x + radius), pixelPair(inA, inB, x - radius)));
  }
  const __m128i lastPixel = pixelPair(inA, inB, last);
  for (; x < width; ++x) {  // the right end lies beyond the row: it brings in the last pixel
    packer.store(outA, outB, x, _mm_mulhi_epi16(sum, multiplier));
    sum = _mm_add_epi16(sum, _mm_sub_epi16(lastPixel, pixelPair(inA, inB, x - radius)));
  }
}

}  // namespace

void blurRowsSse2(uint8_t* destination, int32_t destinationPitch, const uint8_t* source, int32_t sourcePitch,
                  uint32_t width, uint32_t height, int32_t radius, BlurLayout layout) {
  const Packer packer(layout);
  const __m128i multiplier = _mm_set1_epi16(static_cast<int16_t>(blurMultiplier(radius, layout)));
  for (uint32_t y = 0; y < height; y += 2) {
    const uint32_t next = y + 1 < height ? y + 1 : y;
    uint8_t* outA = destination + static_cast<std::ptrdiff_t>(y) * destinationPitch;
    uint8_t* outB = destination + static_cast<std::ptrdiff_t>(next) * destinationPitch;
    const uint8_t* inA = source + static_cast<std::ptrdiff_t>(y) * sourcePitch;
    const uint8_t* inB = source + static_cast<std::ptrdiff_t>(next) * sourcePitch;
    blurRowPair(outA, outB, inA, inB, static_cast<int32_t>(width), radius, multiplier, packer);
  }
}

}  // namespace demo

#endif
