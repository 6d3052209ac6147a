#pragma once
// One channel of the pattern player: the note, effect memories, envelopes and the offsets of the
// current tick. Channel i always drives mixer voice i.

#include <cstdint>

namespace demo {

struct Voice;

// Bits of Channel::updates: what the voice update at the end of the tick writes.
enum UpdateBits : uint8_t {
  UpdatePitch = 1,
  UpdateVolume = 2,
  UpdatePanning = 4,
  UpdateTrigger = 8,
  UpdateStop = 32,
};

struct EnvelopeState {
  int32_t tick = 0;
  int32_t point = 0;   // index of the next point
  int32_t value = 0;   // 16.16
  int32_t output = 0;  // 0..64
  int32_t step = 0;    // 16.16 per tick
  uint8_t finished = 0;
};

struct Channel {
  uint8_t note = 0;  // 0-based (cell note - 1)
  uint8_t updates = 0;
  Voice* voice = nullptr;
  int32_t index = 0;
  int32_t period = 0;
  int32_t volume = 0;
  int32_t pan = 0;
  int32_t tremoloDelta = 0;
  int32_t vibratoDelta = 0;
  EnvelopeState volumeEnvelope;
  EnvelopeState panningEnvelope;
  int32_t fadeoutLevel = 0;  // 65536 = full
  int32_t autoVibratoPos = 0;
  int32_t autoVibratoSweepPos = 0;
  uint8_t keyOff = 0;
  uint8_t instrument = 0;  // 0-based
  uint8_t realNote = 0;    // note + relative note - 1, modulo 256
  int32_t notePeriod = 0;
  uint8_t lastEffect = 0;
  uint8_t offsetMemory = 0;
  uint8_t portaDownMemory = 0, portaUpMemory = 0;
  uint8_t extraFineDownMemory = 0, extraFineUpMemory = 0;
  uint8_t volumeSlideMemory = 0;
  uint8_t panSlideMemory = 0;
  uint8_t retrigVolumeKind = 0, retrigInterval = 0;
  int32_t portaTarget = 0;
  uint8_t tonePortaSpeed = 0;
  int8_t vibratoPos = 0;  // -32..31
  uint8_t vibratoSpeed = 0, vibratoDepth = 0;
  int8_t tremoloPos = 0;  // -32..31
  uint8_t tremoloSpeed = 0, tremoloDepth = 0;
  uint8_t tremorCounter = 0, tremorOn = 0, tremorOff = 0;
  int32_t loopRow = 0;
  int32_t loopCount = 0;
  uint8_t waveControl = 0;  // low nibble vibrato waveform, high nibble tremolo waveform
  uint8_t fineVolumeMemory = 0;
  uint8_t finePortaUpMemory = 0, finePortaDownMemory = 0;
  // Period, volume and panning before the row's note, restored by EDx on its row tick.
  int32_t delayedPeriod = 0, delayedVolume = 0, delayedPan = 0;
};

}  // namespace demo
