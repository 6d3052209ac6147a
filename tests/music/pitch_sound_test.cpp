// End to end: a looped one-cycle sine played through the whole chain comes out at the pitch the
// note asks for, on both frequency tables.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "music/audio_output.h"
#include "music_fixtures.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo {
namespace {

constexpr int CycleLength = 64;

XmSong sineSong(bool linear, uint8_t note, int8_t finetune = 0, int8_t relativeNote = 0) {
  XmSong song = test::basicSong(1);
  song.linear = linear;
  XmSample& s = song.instruments[0].samples[0];
  s.bits = 16;
  s.data.clear();
  for (int i = 0; i < CycleLength; ++i) {
    s.data.push_back(static_cast<int16_t>(20000 * std::sin(i * 2 * std::numbers::pi / CycleLength)));
  }
  s.loopLength = CycleLength;
  s.finetune = finetune;
  s.relativeNote = relativeNote;
  song.cell(0, 0, 0) = {note, 1, 0, 0, 0};
  return song;
}

// Cycles per second in the first output channel between 0.5 s and 1.5 s.
double playedFrequency(const XmSong& song) {
  VirtualWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  EXPECT_TRUE(output.openAudioOutput());
  Module* module = test::loadXm(song).release();
  output.startModule(module);
  wave.advance(44100 * 3 / 2);
  const std::vector<uint8_t> bytes = wave.takePlayed();
  output.freeModule(module);
  int crossings = 0;
  int16_t previous = 0;
  for (size_t frame = 22050; frame < 66150; ++frame) {
    const auto s = static_cast<int16_t>(bytes[frame * 4] | bytes[frame * 4 + 1] << 8);
    if ((s >= 0) != (previous >= 0)) ++crossings;
    previous = s;
  }
  return crossings / 2.0;
}

TEST(PitchSound, NotesPlayAtTheirFrequencies) {
  EXPECT_NEAR(playedFrequency(sineSong(true, 49)), 8363.0 / CycleLength, 1.0) << "C-4, linear";
  EXPECT_NEAR(playedFrequency(sineSong(true, 61)), 16726.0 / CycleLength, 1.0) << "C-5";
  EXPECT_NEAR(playedFrequency(sineSong(true, 49, 0, 12)), 16726.0 / CycleLength, 1.0) << "relative note";
  EXPECT_NEAR(playedFrequency(sineSong(true, 49, 127)), 8363 * std::exp2(63 / 768.0) / CycleLength, 1.0);
  EXPECT_NEAR(playedFrequency(sineSong(false, 49)), 8362.0 / CycleLength, 1.0) << "C-4, Amiga";
  EXPECT_NEAR(playedFrequency(sineSong(false, 37)), 14317056.0 / 3424 / CycleLength, 1.0) << "C-3, Amiga";
}

}  // namespace
}  // namespace demo
