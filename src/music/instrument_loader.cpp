// Instruments: header, envelopes and sample map, then every sample header, then every sample's
// data, in the order the file stores them.

#include <algorithm>

#include "archive/loader_contract.h"
#include "music/loader_steps.h"

namespace demo {
namespace {

constexpr int SampleHeaderBytes = 40;
constexpr int SamplePadding = 8;  // int16 entries behind the data: guard sample and zero padding
// Six hours at 44100 Hz. Longer samples cannot come from a real file; the bound keeps the mixer's
// 32.32 loop arithmetic (twice a loop length) inside 64 bits. A fuzzing build lowers it.
constexpr uint32_t MaxSampleLength = LoaderCaps::sampleFrames;

void readEnvelope(const uint8_t* bytes, std::array<EnvelopePoint, EnvelopePointSlots>& points) {
  for (int i = 0; i < EnvelopePointsRead; ++i) {
    points[i].x = ModuleFile::le16(bytes + i * 4);
    // The format's values are 0..64; larger ones would overflow the 16.16 envelope value.
    points[i].y = std::min<uint16_t>(ModuleFile::le16(bytes + i * 4 + 2), 64);
  }
}

// An envelope of fewer than two points is off. Only 12 points are read, so a larger count is cut to
// them, and a loop whose points lie beyond the count is dropped: both would make the envelope step
// read points that do not exist.
void checkEnvelope(uint8_t& count, uint8_t& type, uint8_t loopStart, uint8_t loopEnd) {
  if (count < 2) type = 0;
  count = std::min<uint8_t>(count, EnvelopePointsRead);
  if (loopStart >= count || loopEnd >= count) type &= static_cast<uint8_t>(~EnvelopeLoop);
}

void readInstrumentHeader(ModuleFile& file, Instrument& instrument) {
  file.readU32();  // sample header size: every sample header is taken as 40 bytes
  file.read(instrument.sampleMap.data(), NoteCount);
  uint8_t envelopes[96] = {};
  file.read(envelopes, 48);
  file.read(envelopes + 48, 48);
  readEnvelope(envelopes, instrument.volumeEnvelope);
  readEnvelope(envelopes + 48, instrument.panningEnvelope);
  uint8_t b[16] = {};
  file.read(b, sizeof b);
  instrument.volumePointCount = b[0];
  instrument.panningPointCount = b[1];
  instrument.volumeSustain = b[2];
  instrument.volumeLoopStart = b[3];
  instrument.volumeLoopEnd = b[4];
  instrument.panningSustain = b[5];
  instrument.panningLoopStart = b[6];
  instrument.panningLoopEnd = b[7];
  instrument.volumeType = b[8];
  instrument.panningType = b[9];
  instrument.vibratoType = b[10];
  instrument.vibratoSweep = b[11];
  instrument.vibratoDepth = b[12];
  instrument.vibratoRate = b[13];
  instrument.fadeout = static_cast<uint16_t>(ModuleFile::le16(b + 14) * 2);
  checkEnvelope(instrument.volumePointCount, instrument.volumeType, instrument.volumeLoopStart,
                instrument.volumeLoopEnd);
  checkEnvelope(instrument.panningPointCount, instrument.panningType, instrument.panningLoopStart,
                instrument.panningLoopEnd);
}

// True when the sample is 16-bit with an odd byte length: its last byte is dropped.
bool readSampleHeader(ModuleFile& file, Sample& sample) {
  uint8_t h[17] = {};
  file.read(h, sizeof h);
  file.seek(SampleHeaderBytes - sizeof h, 1);  // reserved byte and name
  sample.length = ModuleFile::le32(h);
  sample.loopStart = ModuleFile::le32(h + 4);
  sample.loopLength = ModuleFile::le32(h + 8);
  sample.volume = h[12];
  sample.finetune = sample.loadedFinetune = static_cast<int8_t>(h[13]);
  const uint8_t type = h[14];
  sample.panning = h[15];
  sample.relativeNote = static_cast<int8_t>(h[16]);
  sample.loopKind = LoopNone;
  if (type & 1) sample.loopKind = LoopForward;
  if (type & 2) sample.loopKind = LoopPingPong;
  sample.bits = (type & 0x10) ? 16 : 8;

  if (sample.loopKind == LoopNone) {
    sample.loopStart = 0;
    sample.loopLength = sample.length;
  }
  const bool oddByte = sample.bits == 16 && (sample.length & 1) != 0;
  if (sample.bits == 16) {
    sample.length /= 2;
    sample.loopStart /= 2;
    sample.loopLength /= 2;
  }
  // Loop points are not checked by the format. A loop starting beyond the sample is dropped and one
  // running past its end is cut at the end, so that playback and the guard sample stay in the data.
  if (sample.loopKind != LoopNone) {
    if (sample.loopStart >= sample.length) {
      sample.loopStart = 0;
      sample.loopLength = 0;
    } else {
      sample.loopLength = std::min(sample.loopLength, sample.length - sample.loopStart);
    }
  }
  if (sample.loopLength == 0) {
    sample.loopStart = 0;
    sample.loopLength = sample.length;
    sample.loopKind = LoopNone;
  }
  return oddByte;
}

// Data the file cannot hold would be read as nothing and play as silence; such a sample is made
// empty (silent at once) instead of allocating what a header claims.
void readSampleData(ModuleFile& file, Sample& sample, bool oddByte) {
  // The dropped last byte of an odd-length 16-bit sample is still in the file: it is skipped, or
  // every later sample of the instrument would be read one byte early.
  if (sample.length == 0) {
    if (oddByte) file.seek(1, 1);
    return;
  }
  const uint64_t bytes = static_cast<uint64_t>(sample.length) * (sample.bits == 16 ? 2 : 1);
  if (bytes > file.remaining() || sample.length > MaxSampleLength) {
    sample.length = sample.loopStart = sample.loopLength = 0;
    sample.loopKind = LoopNone;
    return;
  }
  sample.data.reset(new int16_t[sample.length + SamplePadding]());
  int16_t* s = sample.data.get();
  auto* raw = reinterpret_cast<uint8_t*>(s);
  file.read(raw, static_cast<uint32_t>(bytes));
  if (oddByte) file.seek(1, 1);
  if (sample.bits == 16) {
    for (uint32_t i = 0; i < sample.length; ++i) s[i] = static_cast<int16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
  } else {
    // Widen in place from the end: entry i occupies bytes 2i and 2i+1, never below byte i.
    for (uint32_t i = sample.length; i-- > 0;) s[i] = static_cast<int16_t>(raw[i] << 8);
    sample.bits = 16;
  }
  uint16_t sum = 0;
  for (uint32_t i = 0; i < sample.length; ++i) {
    sum = static_cast<uint16_t>(sum + static_cast<uint16_t>(s[i]));
    s[i] = static_cast<int16_t>(sum);
  }
  if (sample.loopKind == LoopForward) s[sample.loopEnd()] = s[sample.loopStart];
  if (sample.loopKind == LoopPingPong) s[sample.loopEnd()] = s[sample.loopEnd() - 1];
}

bool loadInstrument(ModuleFile& file, Module& module, Instrument& instrument) {
  const uint32_t start = file.tell();
  const uint32_t size = file.readU32();
  file.seek(23, 1);  // name and type
  const int count = file.readU16();
  if (count > MaxSamplesPerInstrument) return false;
  instrument.sampleCount = count;
  instrument.samples.fill(&module.emptySample);
  if (count == 0) {
    file.seek(static_cast<int64_t>(start) + size, 0);
    return true;
  }
  readInstrumentHeader(file, instrument);
  file.seek(static_cast<int64_t>(start) + size, 0);
  instrument.ownedSamples.reset(new Sample[count]());
  bool oddBytes[MaxSamplesPerInstrument] = {};
  for (int i = 0; i < count; ++i) {
    oddBytes[i] = readSampleHeader(file, instrument.ownedSamples[i]);
    instrument.samples[i] = &instrument.ownedSamples[i];
  }
  for (int i = 0; i < count; ++i) readSampleData(file, instrument.ownedSamples[i], oddBytes[i]);
  return true;
}

}  // namespace

bool loadInstruments(ModuleFile& file, Module& module) {
  const int count = std::max<int>(module.instrumentCount, 0);
  module.instruments.reset(new Instrument[count]());
  for (int i = 0; i < count; ++i) {
    if (!loadInstrument(file, module, module.instruments[i])) return false;
  }
  return true;
}

}  // namespace demo
