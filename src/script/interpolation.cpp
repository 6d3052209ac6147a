#include "script/interpolation.h"

#include <cmath>

namespace demo {

uint32_t fixedFraction(uint32_t demoTime, int32_t start, int32_t end) {
  const uint32_t span = static_cast<uint32_t>(end) - static_cast<uint32_t>(start);
  if (span == 0) return 0;
  return ((demoTime - static_cast<uint32_t>(start)) * 1024u) / span;
}

uint32_t interpolateColour(uint32_t from, uint32_t to, uint32_t t) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int32_t a = static_cast<int32_t>((from >> shift) & 0xFFu);
    const int32_t b = static_cast<int32_t>((to >> shift) & 0xFFu);
    const int32_t channel = a + (((b - a) * static_cast<int32_t>(t)) >> 10);
    result |= (static_cast<uint32_t>(channel) & 0xFFu) << shift;
  }
  return result;
}

int32_t interpolateLevel(int32_t from, int32_t to, uint32_t t) {
  // Products of script-sized levels never wrap; unsigned steps keep huge ones defined.
  const uint32_t product = (static_cast<uint32_t>(to) - static_cast<uint32_t>(from)) * t;
  const int32_t step = static_cast<int32_t>(product) >> 10;
  return static_cast<int32_t>(static_cast<uint32_t>(from) + static_cast<uint32_t>(step));
}

float floatFraction(uint32_t demoTime, int32_t start, int32_t end) {
  const auto span = static_cast<int32_t>(static_cast<uint32_t>(end) - static_cast<uint32_t>(start));
  if (span == 0) return 0.0f;
  return static_cast<float>(demoTime - static_cast<uint32_t>(start)) / static_cast<float>(span);
}

float sceneFrame(int32_t startFrame, int32_t startTime, float speed, uint32_t demoTime, uint32_t firstFrame,
                 uint32_t lastFrame) {
  const float elapsed = static_cast<float>(demoTime - static_cast<uint32_t>(startTime));
  const float frame = static_cast<float>(startFrame) + elapsed * speed;
  const auto last = static_cast<float>(lastFrame);
  if (!std::isfinite(frame)) return last;
  if (!(frame > last)) return frame;
  if (lastFrame <= firstFrame) return last;  // no segment to wrap by: stay on its only frame
  // Subtracting the segment until the frame is at most lastFrame leaves the frame's remainder
  // modulo the segment, placed in (lastFrame - segment, lastFrame]. fmod is exact, and so is the
  // rest in doubles; a frame below 2^24 also loses nothing in the repeated float subtractions, so
  // both give the same float. Far beyond that, this is the exact wrap of the float frame, reached
  // without a loop.
  const auto segment = static_cast<double>(lastFrame - firstFrame);
  double behind = std::fmod(static_cast<double>(lastFrame), segment) - std::fmod(static_cast<double>(frame), segment);
  if (behind < 0.0) behind += segment;
  return static_cast<float>(static_cast<double>(lastFrame) - behind);
}

}  // namespace demo
