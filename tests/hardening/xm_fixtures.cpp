#include "loader_fixtures.h"

#include "writers/xm_writer.h"

namespace demo::test {

namespace {

std::vector<int16_t> wave(size_t length, int16_t amplitude, int period) {
  std::vector<int16_t> out(length);
  for (size_t i = 0; i < length; ++i)
    out[i] = static_cast<int16_t>(static_cast<int>(i % period) < period / 2 ? amplitude : -amplitude);
  return out;
}

XmInstrument instrumentWithEnvelopes() {
  XmInstrument in;
  XmSample eight;
  eight.data = wave(48, 90, 16);
  eight.loop = XmLoop::Forward;
  eight.loopStart = 8;
  eight.loopLength = 32;
  eight.relativeNote = 12;
  eight.finetune = -40;
  XmSample sixteen;
  sixteen.bits = 16;
  sixteen.data = wave(40, 12000, 10);
  sixteen.loop = XmLoop::PingPong;
  sixteen.loopStart = 4;
  sixteen.loopLength = 30;
  sixteen.panning = 40;
  in.samples = {eight, sixteen};
  for (int n = 48; n < 96; ++n) in.sampleMap[n] = 1;
  in.volumeEnvelope = {{{0, 64}, {4, 20}, {8, 50}, {16, 0}}, true, true, true, 1, 1, 2};
  in.panningEnvelope = {{{0, 0}, {6, 64}, {9, 32}}, true, false, true, 0, 1, 2};
  in.vibratoType = 2;
  in.vibratoSweep = 3;
  in.vibratoDepth = 6;
  in.vibratoRate = 30;
  in.fadeout = 900;
  return in;
}

// Every effect (and volume-column command) in one pattern, with notes to act on.
XmSong effectsSong(bool linear) {
  XmSong song;
  song.channels = 4;
  song.linear = linear;
  song.speed = 3;
  song.bpm = 144;
  song.instruments = {instrumentWithEnvelopes()};
  song.addPattern(24);
  const uint8_t effects[][2] = {{0x0, 0x37}, {0x1, 0x08}, {0x2, 0x08}, {0x3, 0x10}, {0x4, 0x48}, {0x5, 0x21},
                                {0x6, 0x12}, {0x7, 0x35}, {0x8, 0x80}, {0x9, 0x01}, {0xA, 0x0F}, {0xC, 0x30},
                                {0xE, 0x12}, {0xE, 0x22}, {0xE, 0x31}, {0xE, 0x41}, {0xE, 0x52}, {0xE, 0x71},
                                {0xE, 0x93}, {0xE, 0xA2}, {0xE, 0xB2}, {0xE, 0xC2}, {0xE, 0xD1}, {0xE, 0xE1},
                                {0x10, 0x20}, {0x11, 0x21}, {0x14, 0x02}, {0x15, 0x05}, {0x19, 0x31}, {0x1B, 0x43},
                                {0x1D, 0x21}, {0x21, 0x13}, {0x21, 0x23}, {0xF, 0x90}};
  const uint8_t volumes[] = {0x10, 0x50, 0x65, 0x75, 0x85, 0x95, 0xA4, 0xB3, 0xC8, 0xD2, 0xE2, 0xF3};
  int e = 0;
  for (int row = 0; row < 24; ++row)
    for (int ch = 0; ch < 4; ++ch) {
      const auto& fx = effects[e++ % (sizeof effects / sizeof effects[0])];
      const uint8_t note = (row + ch) % 5 == 4 ? 97 : static_cast<uint8_t>(25 + (row * 7 + ch * 13) % 70);
      song.cell(0, row, ch) = {note, static_cast<uint8_t>(ch == 3 ? 2 : 1), volumes[(row + ch) % 12], fx[0], fx[1]};
    }
  return song;
}

// Pattern loops nested with jumps, breaks and delays, speed 0 and a tempo change.
XmSong sequencingSong() {
  XmSong song;
  song.channels = 3;
  song.speed = 2;
  song.instruments = {instrumentWithEnvelopes()};
  song.addPattern(16);
  song.addPattern(8);
  song.orders = {0, 1, 0, 1};
  song.restartPosition = 1;
  song.cell(0, 0, 0) = {49, 1, 0, 0xE, 0x60};
  song.cell(0, 2, 1) = {0, 0, 0, 0xE, 0x60};
  song.cell(0, 3, 1) = {0, 0, 0, 0xE, 0x62};
  song.cell(0, 4, 0) = {0, 0, 0, 0xE, 0x63};
  song.cell(0, 4, 2) = {0, 0, 0, 0xE, 0xE1};
  song.cell(0, 6, 2) = {0, 0, 0, 0xF, 0x00};
  song.cell(0, 7, 2) = {0, 0, 0, 0xF, 0x20};
  song.cell(0, 9, 0) = {0, 0, 0, 0xB, 0x01};
  song.cell(0, 9, 1) = {0, 0, 0, 0xD, 0x12};
  song.cell(1, 1, 0) = {61, 1, 0, 0xE, 0x60};
  song.cell(1, 2, 0) = {0, 0, 0, 0xE, 0x61};
  song.cell(1, 2, 1) = {0, 0, 0, 0xD, 0x05};
  song.cell(1, 5, 2) = {0, 0, 0, 0xB, 0x00};
  return song;
}

// Orders beyond the stored patterns, a pattern stored without data, an instrument without
// samples, a 16-bit sample without loop and an 8-bit sample with a loop longer than itself.
XmSong sparseSong() {
  XmSong song;
  song.channels = 2;
  song.linear = false;
  song.instruments.resize(3);
  XmSample plain;
  plain.bits = 16;
  plain.data = wave(21, 3000, 6);
  XmSample longLoop;
  longLoop.data = wave(10, 50, 4);
  longLoop.loop = XmLoop::Forward;
  longLoop.loopStart = 6;
  longLoop.loopLength = 100;
  song.instruments[0].samples = {plain, longLoop};
  for (int n = 0; n < 96; n += 2) song.instruments[0].sampleMap[n] = 1;
  song.instruments[2].samples = {plain};
  song.instruments[2].sampleMap.fill(5);  // a slot without sample
  song.addPattern(4);
  song.addPattern(6);
  song.patterns[1].packedData = std::vector<uint8_t>{};
  song.orders = {0, 1, 3, 0, 2};
  song.cell(0, 0, 0) = {30, 1, 0, 0, 0};
  song.cell(0, 1, 1) = {31, 2, 0x40, 0, 0};
  song.cell(0, 2, 0) = {32, 3, 0, 0x9, 0x02};
  song.cell(0, 3, 1) = {97, 9, 0, 0, 0};
  return song;
}

}  // namespace

std::vector<Fixture> xmFixtures() {
  return {
      {"effects_linear.xm", writeXm(effectsSong(true))},
      {"effects_amiga.xm", writeXm(effectsSong(false))},
      {"sequencing.xm", writeXm(sequencingSong())},
      {"sparse.xm", writeXm(sparseSong())},
  };
}

}  // namespace demo::test
