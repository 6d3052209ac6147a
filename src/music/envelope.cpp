#include "music/envelope.h"

#include <algorithm>

namespace demo {
namespace {

// The value is a 16.16 number in an int32. Arithmetic on it wraps (through uint32) instead of
// overflowing: an envelope whose ticks run backwards never meets its next point and keeps sliding.
int32_t wrapping(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

// The format's values are 0..64. Points whose ticks do not increase leave the walk sliding past them
// (nothing meets the next point again); the output stays within the values an envelope can have, so
// a damaged instrument sounds wrong but never many times louder than full scale.
int32_t boundedOutput(int32_t value) { return std::clamp(value >> 16, 0, 64); }

int32_t segmentStep(const EnvelopeShape& shape, int32_t i) {
  const int32_t dx = shape.points[i + 1].x - shape.points[i].x;
  if (dx == 0) return 0;
  const int64_t dy = static_cast<int64_t>(shape.points[i + 1].y) - shape.points[i].y;
  return wrapping(dy * 65536 / dx);
}

}  // namespace

EnvelopeShape volumeEnvelopeOf(const Instrument& in) {
  return {in.volumeEnvelope, in.volumePointCount, in.volumeType, in.volumeSustain, in.volumeLoopStart,
          in.volumeLoopEnd};
}

EnvelopeShape panningEnvelopeOf(const Instrument& in) {
  return {in.panningEnvelope, in.panningPointCount, in.panningType, in.panningSustain, in.panningLoopStart,
          in.panningLoopEnd};
}

void stepEnvelope(EnvelopeState& state, const EnvelopeShape& shape, bool keyOff) {
  int32_t i = state.point;
  if (i < shape.count) {
    if (state.tick == shape.points[i].x) {
      if ((shape.type & EnvelopeLoop) && i == shape.loopEnd) {
        // The point index moves with the tick: when the loop start is also the sustain point, the
        // envelope waits there from the next tick on instead of going on with the old segment's step.
        i = shape.loopStart;
        state.point = i;
        state.tick = shape.points[i].x;
      }
      if (i == shape.count - 1) {
        state.output = shape.points[i].y;
        state.finished = 1;
        return;
      }
      if ((shape.type & EnvelopeSustain) && i == shape.sustain && !keyOff) {
        state.output = shape.points[i].y;
        return;  // waits on this point
      }
      state.step = segmentStep(shape, i);
      state.value = wrapping(static_cast<int64_t>(shape.points[i].y) << 16);
      state.point = i + 1;
    } else {
      state.value = wrapping(static_cast<int64_t>(state.value) + state.step);
    }
  }
  state.output = boundedOutput(state.value);
  state.tick += 1;
}

void setEnvelopePosition(EnvelopeState& state, const EnvelopeShape& shape, int32_t position) {
  int32_t i = 0;
  while (i < shape.count && position > shape.points[i + 1].x) ++i;
  if (i >= shape.count - 1) {
    state.point = i;
    state.output = shape.points[shape.count - 1].y;
    state.finished = 1;
    return;
  }
  state.finished = 0;
  state.tick = position;
  state.step = segmentStep(shape, i);
  state.point = i + 1;
  state.value = wrapping((static_cast<int64_t>(shape.points[i].y) << 16) +
                         static_cast<int64_t>(position - shape.points[i].x) * state.step);
  state.output = boundedOutput(state.value);
}

}  // namespace demo
