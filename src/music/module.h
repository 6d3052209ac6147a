#pragma once
// A loaded XM song: what the file says (patterns, instruments, samples, order list) plus the
// playback fields the pattern player advances. Player channels and mixer voices live elsewhere
// (music/channel.h, music/voice.h); a Module never points at them.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace demo {

class Mixer;
struct Channel;

constexpr int MaxChannels = 32;       // the player's channel table and the mixed voices
constexpr int MaxSamplesPerInstrument = 16;
constexpr int NoteCount = 96;         // notes 1..96; 1 is the lowest C
constexpr uint8_t NoteKeyOff = 255;   // stored as 97 in the file
constexpr int EnvelopePointSlots = 20;
constexpr int EnvelopePointsRead = 12;

using Channels = std::array<Channel, MaxChannels>;
struct Module;
// One tick of the pattern player (music/player.h); set by the loader.
using TickHandler = void (*)(Module& module, Channels& channels, Mixer& mixer);

// Five bytes in the file's order.
struct Cell {
  uint8_t note = 0;        // 0 none, 1..96, NoteKeyOff
  uint8_t instrument = 0;  // 0 none, 1..128
  uint8_t volume = 0;      // volume column
  uint8_t effect = 0;
  uint8_t parameter = 0;
};
static_assert(sizeof(Cell) == 5, "a cell is the five bytes of the file");

struct Pattern {
  int32_t rows = 0;
  std::unique_ptr<Cell[]> cells;  // rows x channelCount, row-major
};

enum LoopKind : uint8_t { LoopNone = 1, LoopForward = 2, LoopPingPong = 4 };

struct Sample {
  // length + 8 entries: the interpolation reads one sample behind the loop end (the guard sample),
  // a non-looping sample's last frame reads the zero padding, and the mixer's vector loops load up to
  // eight samples beyond a frame's own (the values they do not use). Null when length is 0.
  std::unique_ptr<int16_t[]> data;
  uint32_t length = 0;      // in samples
  uint32_t loopStart = 0;   // in samples
  uint32_t loopLength = 0;  // equals length without a loop, so loopStart + loopLength is where playback ends or wraps
  uint8_t volume = 0;
  int8_t finetune = 0;
  int32_t panning = 0;
  uint8_t bits = 0;
  uint8_t loopKind = 0;  // LoopKind, 0 for the empty sample
  int8_t relativeNote = 0;

  uint32_t loopEnd() const { return loopStart + loopLength; }
};

struct EnvelopePoint {
  uint16_t x = 0;  // tick
  uint16_t y = 0;  // 0..64
};

enum EnvelopeTypeBits : uint8_t { EnvelopeOn = 1, EnvelopeSustain = 2, EnvelopeLoop = 4 };

struct Instrument {
  int32_t sampleCount = 0;
  std::array<Sample*, MaxSamplesPerInstrument> samples{};  // slots from sampleCount on: the module's empty sample
  std::array<uint8_t, NoteCount> sampleMap{};              // values >= 16 select the empty sample
  std::array<EnvelopePoint, EnvelopePointSlots> volumeEnvelope{};
  std::array<EnvelopePoint, EnvelopePointSlots> panningEnvelope{};
  uint8_t volumePointCount = 0, panningPointCount = 0;
  uint8_t volumeSustain = 0, volumeLoopStart = 0, volumeLoopEnd = 0;
  uint8_t panningSustain = 0, panningLoopStart = 0, panningLoopEnd = 0;
  uint8_t volumeType = 0, panningType = 0;
  uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
  uint16_t fadeout = 0;  // twice the file's value

  std::unique_ptr<Sample[]> ownedSamples;  // the sampleCount records the slots below sampleCount point to
};

struct Module {
  Module() { emptyInstrument.samples.fill(&emptySample); }
  // Sample slots point into the module (its own records and emptySample): it never moves.
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // Loaded from the file.
  std::unique_ptr<Pattern[]> patterns;  // patternSlots entries, by pattern number
  std::unique_ptr<Instrument[]> instruments;
  int16_t songLength = 0;
  int16_t restartPosition = 0;
  int16_t channelCount = 0;
  int32_t usedPatterns = 0;
  int32_t patternSlots = 0;
  int16_t instrumentCount = 0;
  uint16_t flags = 0;  // bit 0: linear frequency table, else Amiga periods
  int16_t defaultSpeed = 0;
  int16_t defaultBpm = 0;
  std::array<uint8_t, 256> orderList{};
  uint8_t initialGlobalVolume = 0;
  TickHandler tickHandler = nullptr;

  // Stand-ins for unused sample slots and for instrument numbers beyond instrumentCount. They belong
  // to the module rather than the process because E5x writes the current sample's finetune, even
  // when that is the empty sample.
  Sample emptySample;
  Instrument emptyInstrument;

  // Playback state (music/player.h).
  int32_t samplesLeftInTick = 0;
  int32_t samplesPerTick = 0;
  int32_t globalVolume = 0;
  uint8_t globalSlideMemory = 0;
  int32_t tick = 0;
  int32_t speed = 0;
  int32_t bpm = 0;
  int32_t row = 0;
  int32_t order = 0;
  int32_t patternDelayTicks = 0;
  int32_t nextRow = -1;
  int32_t nextOrder = -1;
  // The row whose cells this row's ticks act on. E6x moves `row` to just before the loop start in
  // the middle of a row; the effect ticks still belong to the row that was read.
  int32_t playingRow = 0;

  // Music time in milliseconds (music/audio_output.h).
  int32_t timeCounter = 0;

  bool linearFrequencies() const { return (flags & 1) != 0; }
  const Pattern& patternAt(int32_t orderIndex) const { return patterns[orderList[orderIndex]]; }
};

}  // namespace demo
