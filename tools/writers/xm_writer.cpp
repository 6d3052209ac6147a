#include "writers/xm_writer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace demo {
namespace {

constexpr uint32_t HeaderSize = 276;  // from offset 60: sizes, counts, flags, tempo and the 256 orders
constexpr uint32_t PatternHeaderSize = 9;
constexpr uint32_t InstrumentHeaderSize = 263;
constexpr uint32_t EmptyInstrumentHeaderSize = 29;
constexpr uint32_t SampleHeaderSize = 40;

class Bytes {
 public:
  void u8(uint32_t v) { out.push_back(static_cast<uint8_t>(v)); }
  void u16(uint32_t v) {
    u8(v);
    u8(v >> 8);
  }
  void u32(uint32_t v) {
    u16(v);
    u16(v >> 16);
  }
  void text(const std::string& s, size_t width) {
    for (size_t i = 0; i < width; ++i) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
  }
  void zeros(size_t n) { out.insert(out.end(), n, 0); }
  void append(const std::vector<uint8_t>& bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }
  std::vector<uint8_t> out;
};

void writeHeader(Bytes& b, const XmSong& song) {
  b.text("Extended Module: ", 17);
  b.text(song.name, 20);
  b.u8(0x1A);
  b.text("demo xm writer", 20);
  b.u16(0x0104);
  b.u32(HeaderSize);
  b.u16(static_cast<uint32_t>(song.orders.size()));
  b.u16(song.restartPosition);
  b.u16(static_cast<uint32_t>(song.channels));
  b.u16(static_cast<uint32_t>(song.patterns.size()));
  b.u16(static_cast<uint32_t>(song.instruments.size()));
  b.u16(song.linear ? 1 : 0);
  b.u16(song.speed);
  b.u16(song.bpm);
  for (size_t i = 0; i < 256; ++i) b.u8(i < song.orders.size() ? song.orders[i] : 0);
}

void writePattern(Bytes& b, const XmPattern& pattern) {
  std::vector<uint8_t> packed = pattern.packedData ? *pattern.packedData : packPattern(pattern.cells);
  // Trackers store a pattern without any note as packed size 0.
  if (!pattern.packedData && std::all_of(packed.begin(), packed.end(), [](uint8_t v) { return v == 0x80; })) {
    packed.clear();
  }
  b.u32(PatternHeaderSize);
  b.u8(0);
  b.u16(static_cast<uint32_t>(pattern.rows));
  b.u16(static_cast<uint32_t>(packed.size()));
  b.append(packed);
}

uint8_t envelopeType(const XmEnvelope& e) {
  return static_cast<uint8_t>((e.on ? 1 : 0) | (e.sustainOn ? 2 : 0) | (e.loopOn ? 4 : 0));
}

void writeEnvelopePoints(Bytes& b, const XmEnvelope& e) {
  for (size_t i = 0; i < 12; ++i) {
    b.u16(i < e.points.size() ? e.points[i].first : 0);
    b.u16(i < e.points.size() ? e.points[i].second : 0);
  }
}

uint32_t sampleDataBytes(const XmSample& s) {
  if (s.rawData) return static_cast<uint32_t>(s.rawData->size());
  return static_cast<uint32_t>(s.data.size()) * (s.bits == 16 ? 2 : 1);
}

void writeSampleHeader(Bytes& b, const XmSample& s) {
  const uint32_t unit = s.bits == 16 ? 2 : 1;
  b.u32(s.lengthBytes ? *s.lengthBytes : sampleDataBytes(s));
  b.u32(s.loopStart * unit);
  b.u32(s.loopLength * unit);
  b.u8(s.volume);
  b.u8(static_cast<uint8_t>(s.finetune));
  b.u8(static_cast<uint8_t>(static_cast<uint8_t>(s.loop) | (s.bits == 16 ? 0x10 : 0)));
  b.u8(s.panning);
  b.u8(static_cast<uint8_t>(s.relativeNote));
  b.u8(0);  // reserved
  b.text(s.name, 22);
}

void writeInstrument(Bytes& b, const XmInstrument& in) {
  const bool empty = in.samples.empty();
  b.u32(empty ? EmptyInstrumentHeaderSize : InstrumentHeaderSize);
  b.text(in.name, 22);
  b.u8(0);
  b.u16(static_cast<uint32_t>(in.samples.size()));
  if (empty) return;
  const size_t start = b.out.size() - EmptyInstrumentHeaderSize;
  b.u32(SampleHeaderSize);
  for (uint8_t v : in.sampleMap) b.u8(v);
  writeEnvelopePoints(b, in.volumeEnvelope);
  writeEnvelopePoints(b, in.panningEnvelope);
  const XmEnvelope& v = in.volumeEnvelope;
  const XmEnvelope& p = in.panningEnvelope;
  b.u8(static_cast<uint32_t>(v.points.size()));
  b.u8(static_cast<uint32_t>(p.points.size()));
  for (uint8_t x : {v.sustain, v.loopStart, v.loopEnd, p.sustain, p.loopStart, p.loopEnd}) b.u8(x);
  b.u8(envelopeType(v));
  b.u8(envelopeType(p));
  for (uint8_t x : {in.vibratoType, in.vibratoSweep, in.vibratoDepth, in.vibratoRate}) b.u8(x);
  b.u16(in.fadeout);
  b.zeros(start + InstrumentHeaderSize - b.out.size());  // reserved
  for (const XmSample& s : in.samples) writeSampleHeader(b, s);
  for (const XmSample& s : in.samples) b.append(s.rawData ? *s.rawData : deltaCode(s.data, s.bits));
}

}  // namespace

int XmSong::addPattern(int rows) {
  XmPattern pattern;
  pattern.rows = rows;
  pattern.cells.assign(static_cast<size_t>(rows) * channels, XmCell{});
  patterns.push_back(std::move(pattern));
  return static_cast<int>(patterns.size()) - 1;
}

XmCell& XmSong::cell(int pattern, int row, int channel) {
  return patterns.at(pattern).cells.at(static_cast<size_t>(row) * channels + channel);
}

std::vector<uint8_t> packPattern(const std::vector<XmCell>& cells) {
  std::vector<uint8_t> out;
  for (const XmCell& c : cells) {
    const uint8_t fields[5] = {c.note, c.instrument, c.volume, c.effect, c.parameter};
    uint8_t mask = 0;
    for (int i = 0; i < 5; ++i) mask |= fields[i] ? 1 << i : 0;
    if (mask == 0x1F) {
      out.insert(out.end(), fields, fields + 5);
      continue;
    }
    out.push_back(static_cast<uint8_t>(0x80 | mask));
    for (int i = 0; i < 5; ++i) {
      if (fields[i]) out.push_back(fields[i]);
    }
  }
  return out;
}

std::vector<uint8_t> deltaCode(const std::vector<int16_t>& values, uint8_t bits) {
  std::vector<uint8_t> out;
  int16_t previous = 0;
  for (int16_t v : values) {
    const auto delta = static_cast<uint16_t>(static_cast<uint16_t>(v) - static_cast<uint16_t>(previous));
    previous = v;
    out.push_back(static_cast<uint8_t>(delta));
    if (bits == 16) out.push_back(static_cast<uint8_t>(delta >> 8));
  }
  return out;
}

std::vector<uint8_t> writeXm(const XmSong& song) {
  Bytes b;
  writeHeader(b, song);
  for (const XmPattern& p : song.patterns) writePattern(b, p);
  for (const XmInstrument& in : song.instruments) writeInstrument(b, in);
  return std::move(b.out);
}

void saveXm(const std::filesystem::path& path, const XmSong& song) {
  const std::vector<uint8_t> bytes = writeXm(song);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace demo
