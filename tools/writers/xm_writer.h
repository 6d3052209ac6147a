#pragma once
// Writes XM modules: patterns (packed as trackers pack them), instruments with envelopes and
// automatic vibrato, 8- and 16-bit delta-coded samples with loops, linear or Amiga frequencies.
// Tests build tiny files made for one question each; the built-in show composes its tune with it.
// The writer writes what it is given, also what the format forbids (more than 16 samples, notes
// above 97), so that tests can build broken files; the raw overrides below go further.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace demo {

struct XmCell {
  uint8_t note = 0;  // 1..96, 97 key-off
  uint8_t instrument = 0;
  uint8_t volume = 0;
  uint8_t effect = 0;
  uint8_t parameter = 0;
};

struct XmPattern {
  int rows = 64;
  std::vector<XmCell> cells;  // rows x channels, row-major; filled by XmSong::addPattern
  // Bytes written as the packed data instead of packing the cells (the header's packed size is
  // their count; an empty vector writes packed size 0).
  std::optional<std::vector<uint8_t>> packedData;
};

struct XmEnvelope {
  std::vector<std::pair<uint16_t, uint16_t>> points;  // (tick, value 0..64), at most 12 are written
  bool on = false;
  bool sustainOn = false;
  bool loopOn = false;
  uint8_t sustain = 0;
  uint8_t loopStart = 0;
  uint8_t loopEnd = 0;
};

enum class XmLoop : uint8_t { None = 0, Forward = 1, PingPong = 2 };

struct XmSample {
  std::string name;
  std::vector<int16_t> data;  // sample values; for 8-bit samples each must fit in int8
  uint8_t bits = 8;
  XmLoop loop = XmLoop::None;
  uint32_t loopStart = 0;   // in samples
  uint32_t loopLength = 0;  // in samples
  uint8_t volume = 64;
  int8_t finetune = 0;
  uint8_t panning = 128;
  int8_t relativeNote = 0;
  // Bytes written as the sample data as they are (already delta-coded), and a length field that
  // differs from the data actually written (both in bytes).
  std::optional<std::vector<uint8_t>> rawData;
  std::optional<uint32_t> lengthBytes;
};

struct XmInstrument {
  std::string name;
  std::vector<XmSample> samples;
  std::array<uint8_t, 96> sampleMap{};  // sample index for notes 1..96
  XmEnvelope volumeEnvelope;
  XmEnvelope panningEnvelope;
  uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
  uint16_t fadeout = 0;  // the file's value
};

struct XmSong {
  std::string name;
  int channels = 4;
  bool linear = true;  // linear frequency table, else Amiga periods
  uint16_t speed = 6;
  uint16_t bpm = 125;
  uint16_t restartPosition = 0;
  std::vector<uint8_t> orders{0};
  std::vector<XmPattern> patterns;
  std::vector<XmInstrument> instruments;

  // A new empty pattern of the given rows; returns its number.
  int addPattern(int rows = 64);
  XmCell& cell(int pattern, int row, int channel);
};

std::vector<uint8_t> writeXm(const XmSong& song);
// Throws std::runtime_error when the file cannot be written.
void saveXm(const std::filesystem::path& path, const XmSong& song);

// The packed bytes of one pattern's cells, as trackers write them: a cell with all five fields set
// is stored plainly, any other as a flag byte (bit 7 plus one bit per present field) and its fields.
std::vector<uint8_t> packPattern(const std::vector<XmCell>& cells);

// A sample's values, delta-coded as stored in the file (little-endian for 16-bit).
std::vector<uint8_t> deltaCode(const std::vector<int16_t>& values, uint8_t bits);

}  // namespace demo
