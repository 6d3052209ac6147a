#pragma once
// Volume and panning envelopes: points of (tick, value) walked one tick at a time in 16.16 fixed
// point, with a sustain point that holds until key-off and an optional loop.

#include <array>
#include <cstdint>

#include "music/channel.h"
#include "music/module.h"

namespace demo {

struct EnvelopeShape {
  const std::array<EnvelopePoint, EnvelopePointSlots>& points;
  uint8_t count;
  uint8_t type;  // EnvelopeTypeBits
  uint8_t sustain;
  uint8_t loopStart;
  uint8_t loopEnd;
};

EnvelopeShape volumeEnvelopeOf(const Instrument& instrument);
EnvelopeShape panningEnvelopeOf(const Instrument& instrument);

// One tick of the envelope (the caller skips finished ones).
void stepEnvelope(EnvelopeState& state, const EnvelopeShape& shape, bool keyOff);
// Lxx: moves the envelope to tick p.
void setEnvelopePosition(EnvelopeState& state, const EnvelopeShape& shape, int32_t position);

}  // namespace demo
