// The per-channel building blocks the effects are made of.

#include <algorithm>

#include "music/player_internal.h"
#include "music/waveforms.h"

namespace demo {
namespace {

constexpr int32_t FullFadeout = 65536;
// Periods move without bound under some slides; the bound only keeps the arithmetic defined.
constexpr int64_t PeriodLimit = int64_t{1} << 30;

// -32..31, wrapping by 64 as the oscillators do.
int8_t advancePosition(int8_t position, uint8_t speed) {
  int32_t p = position + speed;
  if (p > 31) p -= 64;
  return static_cast<int8_t>(p);
}

}  // namespace

void lookUpInstrument(TickContext& c) {
  Module& m = c.module;
  const Channel& ch = c.channel;
  if (ch.instrument < m.instrumentCount) {
    Instrument& in = m.instruments[ch.instrument];
    c.instrument = &in;
    const uint8_t slot = in.sampleMap[ch.note];
    c.sample = slot < MaxSamplesPerInstrument ? in.samples[slot] : &m.emptySample;
  } else {
    c.instrument = &m.emptyInstrument;
    c.sample = &m.emptySample;
  }
}

void instrumentReset(TickContext& c) {
  Channel& ch = c.channel;
  ch.volume = c.sample->volume;
  ch.pan = c.sample->panning;
  ch.volumeEnvelope.output = 64;
  ch.volumeEnvelope.tick = ch.volumeEnvelope.point = ch.volumeEnvelope.step = 0;
  ch.volumeEnvelope.finished = 0;
  ch.panningEnvelope.output = 32;
  ch.panningEnvelope.tick = ch.panningEnvelope.point = ch.panningEnvelope.step = 0;
  ch.panningEnvelope.finished = 0;
  ch.keyOff = 0;
  ch.fadeoutLevel = FullFadeout;
  ch.autoVibratoSweepPos = 0;
  ch.autoVibratoPos = 0;
  // Bit 2 of each waveform nibble keeps the oscillator running across notes.
  if ((ch.waveControl & 0x0F) < 4) ch.vibratoPos = 0;
  if ((ch.waveControl >> 4) < 4) ch.tremoloPos = 0;
  ch.tremorCounter = 0;
  ch.updates |= UpdateVolume | UpdatePanning;
}

void vibrato(Channel& ch) {
  const int32_t w = waveShape(ch.vibratoPos, ch.waveControl & 3);
  const int32_t d = ((ch.vibratoDepth * w) >> 5) & ~3;
  ch.vibratoDelta = ch.vibratoPos >= 0 ? -d : d;
  ch.updates |= UpdatePitch;
}

void advanceVibrato(Channel& ch) { ch.vibratoPos = advancePosition(ch.vibratoPos, ch.vibratoSpeed); }

void tremolo(Channel& ch) {
  const int32_t w = waveShape(ch.tremoloPos, (ch.waveControl >> 4) & 3);
  int32_t d = (ch.tremoloDepth * w) >> 6;
  if (ch.tremoloPos >= 0) {
    d = std::min(d, 64 - ch.volume);
    ch.tremoloDelta = d;
  } else {
    if (ch.volume - d < 0) d = ch.volume;
    ch.tremoloDelta = -d;
  }
  ch.tremoloPos = advancePosition(ch.tremoloPos, ch.tremoloSpeed);
  ch.updates |= UpdateVolume;
}

void tremorStep(Channel& ch) {
  if (ch.tremorCounter >= ch.tremorOn) ch.tremoloDelta = -ch.volume;  // the silent phase
  ch.tremorCounter = static_cast<uint8_t>(ch.tremorCounter + 1);
  // Reaching or passing: a new Txy with a shorter cycle may find the counter already beyond it.
  if (ch.tremorCounter >= ch.tremorOn + ch.tremorOff) ch.tremorCounter = 0;
  ch.updates |= UpdateVolume;
}

void tonePortaStep(Channel& ch) {
  const int32_t speed = ch.tonePortaSpeed * 4;
  if (ch.period < ch.portaTarget) ch.period = std::min(ch.period + speed, ch.portaTarget);
  if (ch.period > ch.portaTarget) ch.period = std::max(ch.period - speed, ch.portaTarget);
  ch.updates |= UpdatePitch;
}

void volumeSlide(Channel& ch) {
  const int32_t x = ch.volumeSlideMemory >> 4, y = ch.volumeSlideMemory & 15;
  if (x != 0) {
    ch.volume = std::min(ch.volume + x, 64);
  } else if (y != 0) {
    ch.volume = std::max(ch.volume - y, 0);
  }
  ch.updates |= UpdateVolume;
}

void slidePeriod(Channel& ch, int32_t delta) {
  ch.period = static_cast<int32_t>(std::clamp<int64_t>(int64_t{ch.period} + delta, -PeriodLimit, PeriodLimit));
}

void fadeOut(TickContext& c) {
  Channel& ch = c.channel;
  ch.fadeoutLevel = std::max(ch.fadeoutLevel - c.instrument->fadeout, 0);
  ch.updates |= UpdateVolume;
}

void autoVibrato(TickContext& c) {
  Channel& ch = c.channel;
  const Instrument& in = *c.instrument;
  int32_t value = autoVibratoWave(in.vibratoType, ch.autoVibratoPos) * in.vibratoDepth;
  if (in.vibratoSweep != 0) value = value * ch.autoVibratoSweepPos / in.vibratoSweep;
  ch.vibratoDelta += value >> 6;
  ch.autoVibratoSweepPos = std::min<int32_t>(ch.autoVibratoSweepPos + 1, in.vibratoSweep);
  ch.autoVibratoPos = (ch.autoVibratoPos + in.vibratoRate) & 255;
  ch.updates |= UpdatePitch;
}

}  // namespace demo
