// Damaged modules load or are refused, and then play, without touching memory outside their
// buffers (run under the sanitizers to mean anything) and without levels beyond full scale.
// Mutations are seeded: every run is the same.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "music/audio_output.h"
#include "music_fixtures.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo {
namespace {

// A module that uses most of the format: envelopes with loops, both frequency tables' paths, 8-
// and 16-bit samples with all loop kinds, and a spread of effects in the patterns.
XmSong richSong() {
  XmSong song = test::basicSong(6, 32);
  song.addPattern(16);
  song.orders = {0, 1, 0};
  XmInstrument& in = song.instruments[0];
  in.volumeEnvelope = {{{0, 64}, {4, 20}, {8, 50}, {16, 0}}, true, true, true, 1, 1, 2};
  in.panningEnvelope = {{{0, 0}, {6, 64}}, true, false, false, 0, 0, 0};
  in.vibratoType = 0;
  in.vibratoDepth = 6;
  in.vibratoRate = 30;
  in.vibratoSweep = 3;
  in.fadeout = 900;
  XmSample pingPong;
  pingPong.bits = 16;
  pingPong.data = test::squareWave(16, 300);
  pingPong.loop = XmLoop::PingPong;
  pingPong.loopStart = 40;
  pingPong.loopLength = 200;
  in.samples.push_back(pingPong);
  for (int n = 48; n < 96; ++n) in.sampleMap[n] = 1;
  const uint8_t effects[][2] = {{0x0, 0x37}, {0x1, 0x08}, {0x2, 0x08}, {0x3, 0x10}, {0x4, 0x48}, {0x5, 0x21},
                                {0x6, 0x12}, {0x7, 0x35}, {0x9, 0x01}, {0xA, 0x0F}, {0xE, 0x93}, {0xE, 0xD2},
                                {0xE, 0x62}, {0x11, 0x21}, {0x14, 0}, {0x15, 5}, {0x19, 0x31}, {0x1B, 0x43},
                                {0x1D, 0x21}, {0x21, 0x13}, {0xE, 0x25}, {0xC, 0x50}, {0xF, 0x90}};
  int e = 0;
  for (int row = 0; row < 32; ++row) {
    for (int ch = 0; ch < 6; ++ch) {
      if ((row + ch) % 3 != 0) continue;
      const auto& fx = effects[e++ % (sizeof effects / sizeof effects[0])];
      song.cell(0, row, ch) = {static_cast<uint8_t>(30 + (row * 5 + ch * 11) % 60), 1,
                               static_cast<uint8_t>(row % 5 == 0 ? 0x6F - row % 16 : 0), fx[0], fx[1]};
    }
  }
  song.cell(1, 3, 0) = {97, 0, 0xF4, 0xB, 0x02};
  return song;
}

void playOneSecond(const std::vector<uint8_t>& bytes) {
  test::TempDir dir;
  const auto path = dir / "damaged.xm";
  test::writeFile(path, bytes);
  VirtualWaveOut wave;
  wave.setCollecting(false);
  AudioOutput output(wave);
  output.setThreaded(false);
  ASSERT_TRUE(output.openAudioOutput());
  Module* module = output.loadModule(path.string().c_str());
  if (!module) return;  // refused is fine
  output.startModule(module);
  for (int block = 0; block < 50; ++block) {
    wave.advance(884);
    output.poll();
    // A damaged module may sound wrong, never many times louder than full scale.
    for (int i = 0; i < MaxChannels; ++i) {
      const Channel& ch = output.channels()[i];
      ASSERT_LE(output.mixer().voice(i).level, 127) << "voice " << i;
      ASSERT_GE(output.mixer().voice(i).level, 0) << "voice " << i;
      ASSERT_TRUE(ch.volumeEnvelope.output >= 0 && ch.volumeEnvelope.output <= 64) << ch.volumeEnvelope.output;
      ASSERT_TRUE(ch.panningEnvelope.output >= 0 && ch.panningEnvelope.output <= 64) << ch.panningEnvelope.output;
    }
  }
  output.freeModule(module);
}

uint32_t nextRandom(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

TEST(DamagedFiles, RandomByteChangesNeverReachOutsideTheBuffers) {
  const std::vector<uint8_t> original = writeXm(richSong());
  playOneSecond(original);
  uint32_t state = 2024;
  for (int round = 0; round < 150; ++round) {
    std::vector<uint8_t> bytes = original;
    const int changes = 1 + static_cast<int>(nextRandom(state) % 8);
    for (int i = 0; i < changes; ++i) {
      // Mostly the headers, where a changed byte changes the structure.
      const size_t range = nextRandom(state) % 4 ? std::min<size_t>(bytes.size(), 900) : bytes.size();
      bytes[nextRandom(state) % range] = static_cast<uint8_t>(nextRandom(state));
    }
    SCOPED_TRACE(round);
    playOneSecond(bytes);
  }
}

TEST(DamagedFiles, FilesCutAnywhereLoadOrAreRefused) {
  const std::vector<uint8_t> original = writeXm(richSong());
  for (size_t size = 0; size < original.size(); size += 37) {
    SCOPED_TRACE(size);
    playOneSecond(std::vector<uint8_t>(original.begin(), original.begin() + static_cast<long>(size)));
  }
}

}  // namespace
}  // namespace demo
