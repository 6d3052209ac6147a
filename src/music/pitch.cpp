#include "music/pitch.h"

#include <cmath>
#include <cstdlib>

namespace demo {
namespace {

constexpr float OneTwelfth = 0.083333336f;  // 1/12 as the single-precision constant of the table
constexpr float OneOver768 = 0.0013020834f;  // 1/768 likewise
constexpr int32_t AmigaClock = 14317056;

int32_t amigaBase(int32_t note) {
  const float exponent = static_cast<float>(132 - note) * OneTwelfth;
  return static_cast<int32_t>(13.375 * std::exp2(static_cast<double>(exponent)));
}

int32_t clampToInt32(double value) {
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(value);
}

}  // namespace

int32_t linearPeriod(int32_t realNote, int32_t finetune) { return 7680 - realNote * 64 - finetune / 2; }

int32_t amigaPeriod(int32_t realNote, int32_t finetune) {
  const int32_t base = amigaBase(realNote);
  if (finetune < 0 && realNote != 0) {
    return base - (base - amigaBase(realNote - 1)) * std::abs(finetune) / 128;
  }
  return base - (base - amigaBase(realNote + 1)) * finetune / 128;
}

int32_t notePeriod(bool linear, int32_t realNote, int32_t finetune) {
  return linear ? linearPeriod(realNote, finetune) : amigaPeriod(realNote, finetune);
}

int32_t linearFrequency(int32_t period, int32_t vibratoDelta) {
  const int64_t units = 4608 - static_cast<int64_t>(period) + vibratoDelta;
  const float exponent = static_cast<float>(units) * OneOver768;
  return clampToInt32(8363.0 * std::exp2(static_cast<double>(exponent)));
}

int32_t amigaFrequency(int32_t period, int32_t vibratoDelta) {
  const int64_t divisor = static_cast<int64_t>(period) + vibratoDelta;
  return divisor == 0 ? 0 : static_cast<int32_t>(AmigaClock / divisor);
}

}  // namespace demo
