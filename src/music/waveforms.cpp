#include "music/waveforms.h"

#include <array>
#include <cmath>
#include <numbers>

namespace demo {
namespace {

// trunc(|sin(p x pi / 32)| x 256) for p = -32..31, index p + 32.
std::array<uint16_t, 64> makeVibratoSine() {
  std::array<uint16_t, 64> table{};
  for (int p = -32; p < 32; ++p) {
    table[p + 32] = static_cast<uint16_t>(std::fabs(std::sin(p * std::numbers::pi / 32)) * 256);
  }
  return table;
}

// trunc(sin(q x 2 pi / 256) x 64) for q = 0..255.
std::array<int8_t, 256> makeAutoVibratoSine() {
  std::array<int8_t, 256> table{};
  for (int q = 0; q < 256; ++q) table[q] = static_cast<int8_t>(std::sin(q * 2 * std::numbers::pi / 256) * 64);
  return table;
}

const std::array<uint16_t, 64> vibratoSine = makeVibratoSine();
const std::array<int8_t, 256> autoVibratoSine = makeAutoVibratoSine();

}  // namespace

int32_t waveShape(int32_t position, int32_t shape) {
  switch (shape) {
    case 0:
      return vibratoSine[(position + 32) & 63];
    case 1: {
      const int32_t b = (position * 8) & 255;
      return position < 0 ? 255 - b : b;
    }
    default:
      return 255;
  }
}

int32_t autoVibratoWave(int32_t type, int32_t position) {
  const int32_t q = position & 255;
  switch (type) {
    case 0:
      return autoVibratoSine[q];
    case 1:
      return q < 128 ? 64 : -64;
    case 2:
      return (128 - ((q + 128) & 255)) >> 1;
    case 3:
      return (128 - ((384 - q) & 255)) >> 1;
    default:
      return 0;
  }
}

}  // namespace demo
