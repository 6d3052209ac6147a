// Vibrato, tremolo, tremor and automatic vibrato, tick by tick: the waveforms, their depths, signs,
// clamps and positions, and what each leaves behind for the next row.

#include <gtest/gtest.h>

#include <vector>

#include "music/pitch.h"
#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::PlayerRig;
using Ints = std::vector<int>;

constexpr uint8_t C4 = 49;
constexpr uint8_t Tremor = 29;  // Txy

int vibratoDelta0(PlayerRig& r) { return r.channel(0).vibratoDelta; }
int level0(PlayerRig& r) { return r.voice(0).level; }

// Depth 7 speed 8 walks the sine through positions 0, 8, 16, 24, -32, -24, ...: |sin| x 256 gives
// 0, 181, 256, 181, 0; (7 x w) >> 5 with the two low bits cleared gives 0, 36, 56, 36, 0 (39 -> 36).
TEST(PlayerVibrato, SineStepsSignsAndWrapAcrossRowsWithTheSharedSlideMemory) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0x4, 0x87};
  song.cell(0, 1, 0) = {0, 0, 0, 0x6, 0x02};  // vibrato from memory, volume slide down 2
  song.cell(0, 2, 0) = {0, 0, 0, 0xA, 0x00};  // slide memory shared with 6xy
  PlayerRig rig(song);
  EXPECT_EQ(rig.ticks(6, vibratoDelta0), (Ints{0, 0, -36, -56, -36, 0})) << "the row tick does not advance";
  EXPECT_EQ(rig.channel(0).vibratoPos, -24) << "24 + 8 is above 31: minus 64";
  EXPECT_EQ(rig.ticks(6, vibratoDelta0), (Ints{36, 36, 56, 36, 0, -36})) << "negative positions raise the pitch";
  EXPECT_EQ(rig.channel(0).volume, 64 - 5 * 2);
  EXPECT_EQ(rig.ticks(6, vibratoDelta0), (Ints{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rig.channel(0).volume, 64 - 10 * 2);
}

TEST(PlayerVibrato, TheVolumeColumnSetsSpeedAndDepthAndVibratesOnEffectTicksOnly) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0x4, 0x87};  // leaves the position at -24
  song.cell(0, 1, 0) = {0, 0, 0xB7, 0, 0};
  song.cell(0, 2, 0) = {0, 0, 0xA4, 0, 0};  // speed 4 only
  song.cell(0, 3, 0) = {0, 0, 0xB7, 0, 0};
  PlayerRig rig(song);
  rig.playRow();
  EXPECT_EQ(rig.ticks(6, vibratoDelta0), (Ints{0, 36, 56, 36, 0, -36})) << "effect 4 would give 36 on its row tick";
  EXPECT_EQ(rig.ticks(6, vibratoDelta0), (Ints{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(rig.channel(0).vibratoSpeed, 4);
  // Positions 16, 20, 24, 28, -32: |sin| x 256 = 256, 236, 181, 97, 0.
  EXPECT_EQ(rig.ticks(6, vibratoDelta0), (Ints{0, -56, -48, -36, -20, 0}));
}

TEST(PlayerWaveforms, RampAndSquaresChosenWithE4x) {
  XmSong song = basicSong(3);
  for (int ch = 0; ch < 3; ++ch) {
    song.cell(0, 0, ch) = {C4, 1, 0, 0xE, static_cast<uint8_t>(0x41 + ch)};
    song.cell(0, 1, ch) = {0, 0, 0, 0x4, 0x88};
    song.cell(0, 2, ch) = {0, 0, 0, 0x4, 0x00};
  }
  PlayerRig rig(song);
  rig.playRow();
  std::vector<Ints> deltas(3);
  for (int i = 0; i < 12; ++i) {
    rig.tick();
    for (int ch = 0; ch < 3; ++ch) deltas[ch].push_back(rig.channel(ch).vibratoDelta);
  }
  // Ramp: b = (p x 8) mod 256, 255 - b below 0; at depth 8, d = (w >> 2) & ~3.
  EXPECT_EQ(deltas[0], (Ints{0, 0, -16, -32, -48, 60, 44, 44, 28, 12, 0, -16}));
  EXPECT_EQ(deltas[1], (Ints{-60, -60, -60, -60, -60, 60, 60, 60, 60, 60, -60, -60})) << "square";
  EXPECT_EQ(deltas[2], deltas[1]) << "shape 3 is the square too";
}

TEST(PlayerWaveforms, RampAndSquareTremoloChosenWithE7x) {
  XmSong song = basicSong(2);
  for (int ch = 0; ch < 2; ++ch) {
    song.cell(0, 0, ch) = {C4, 1, 0x30, 0xE, static_cast<uint8_t>(ch == 0 ? 0x71 : 0x73)};  // volume 32
    song.cell(0, 1, ch) = {0, 0, 0, 0x7, 0x88};
    song.cell(0, 2, ch) = {0, 0, 0, 0x7, 0x00};
  }
  PlayerRig rig(song);
  rig.playRow();
  std::vector<Ints> deltas(2);
  for (int i = 0; i < 12; ++i) {
    rig.tick();
    for (int ch = 0; ch < 2; ++ch) deltas[ch].push_back(rig.channel(ch).tremoloDelta);
  }
  // Not on the row ticks; positions 0, 8, 16, 24, -32, then -24 .. 8. At depth 8, d = w >> 3, its
  // sign by position; the ramp's negative half runs 255 - b down from 255.
  EXPECT_EQ(deltas[0], (Ints{0, 0, 8, 16, 24, -31, 0, -23, -15, -7, 0, 8}));
  EXPECT_EQ(deltas[1], (Ints{0, 31, 31, 31, 31, -31, 0, -31, -31, -31, 31, 31})) << "shape 3 is the square";
  EXPECT_EQ(rig.channel(0).volume, 32) << "the row that keeps tremolo carries nothing";
}

TEST(PlayerWaveforms, Bit2OfTheWaveformKeepsTheOscillatorsRunningAcrossNotes) {
  XmSong song = basicSong(4);
  const uint8_t control[] = {0x44, 0x40, 0x74, 0x70};
  for (int ch = 0; ch < 4; ++ch) {
    const uint8_t effect = ch < 2 ? 0x4 : 0x7;
    song.cell(0, 0, ch) = {C4, 1, 0, 0xE, control[ch]};
    song.cell(0, 1, ch) = {0, 0, 0, effect, 0x88};  // five advances of 8: the position ends at -24
    song.cell(0, 2, ch) = {C4, 1, 0, effect, 0x00};
  }
  PlayerRig rig(song);
  rig.playRow();
  rig.playRow();
  rig.tick();
  EXPECT_EQ(rig.channel(0).vibratoDelta, 44) << "kept: sine at -24, (8 x 181) >> 5 = 45 -> 44";
  EXPECT_EQ(rig.channel(1).vibratoDelta, 0) << "restarted at 0";
  rig.tick();
  EXPECT_EQ(rig.channel(2).tremoloDelta, -22) << "kept: (8 x 181) >> 6";
  EXPECT_EQ(rig.channel(3).tremoloDelta, 0);
}

TEST(PlayerTremolo, ClampsBothHalvesAndTheNextRowKeepsANegativeOffset) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0x4C, 0xE, 0x72};  // volume 60, square tremolo
  song.cell(0, 0, 1) = {C4, 1, 0x1A, 0xE, 0x72};  // volume 10
  song.cell(0, 1, 0) = song.cell(0, 1, 1) = {0, 0, 0, 0x7, 0x8F};
  PlayerRig rig(song);
  rig.playRow();
  std::vector<Ints> deltas(2), levels(2);
  for (int i = 0; i < 7; ++i) {
    rig.tick();
    for (int ch = 0; ch < 2; ++ch) {
      deltas[ch].push_back(rig.channel(ch).tremoloDelta);
      levels[ch].push_back(rig.voice(ch).level);
    }
  }
  // (15 x 255) >> 6 = 59: the upper half stops at volume 64, the lower at volume 0.
  EXPECT_EQ(deltas[0], (Ints{0, 4, 4, 4, 4, -59, 0}));
  EXPECT_EQ(deltas[1], (Ints{0, 54, 54, 54, 54, -10, 0}));
  EXPECT_EQ(levels[0], (Ints{119, 127, 127, 127, 127, 1, 1}));
  EXPECT_EQ(levels[1], (Ints{19, 127, 127, 127, 127, 0, 0}));
  EXPECT_EQ(rig.channel(0).volume, 1) << "60 - 59 carried into the row without tremolo";
  EXPECT_EQ(rig.channel(1).volume, 0);
}

TEST(PlayerTremor, OnAndOffLengthsCountAcrossRows) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, Tremor, 0x12};  // 2 ticks on, 3 off
  song.cell(0, 1, 0) = {0, 0, 0, Tremor, 0x00};   // the same, counting on
  song.cell(0, 0, 1) = {C4, 1, 0, Tremor, 0x13};  // ends its row silent
  PlayerRig rig(song);
  std::vector<Ints> levels(2);
  for (int i = 0; i < 12; ++i) {
    rig.tick();
    for (int ch = 0; ch < 2; ++ch) levels[ch].push_back(rig.voice(ch).level);
  }
  EXPECT_EQ(levels[0], (Ints{127, 127, 0, 0, 0, 127, 127, 0, 0, 0, 127, 127}));
  EXPECT_EQ(levels[1], (Ints{127, 127, 0, 0, 0, 0, 127, 127, 127, 127, 127, 127}))
      << "unlike tremolo, the silence is not carried into the next row";
  EXPECT_EQ(rig.channel(1).volume, 64);
}

TEST(PlayerTremor, AShorterCycleStartsOverWhenTheCounterIsAlreadyPastIt) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, Tremor, 0x77};  // 8 on, 8 off
  song.cell(0, 1, 0) = {0, 0, 0, Tremor, 0x00};
  song.cell(0, 2, 0) = {0, 0, 0, Tremor, 0x11};  // 2 on, 2 off, with the counter at 12
  PlayerRig rig(song);
  EXPECT_EQ(rig.ticks(12, level0), (Ints{127, 127, 127, 127, 127, 127, 127, 127, 0, 0, 0, 0}));
  EXPECT_EQ(rig.ticks(6, level0), (Ints{0, 127, 127, 0, 0, 127})) << "not silent until the counter wraps at 256";
}

TEST(PlayerAutoVibrato, SineAndBothRampsAtRate32) {
  XmSong song = basicSong(3);
  const uint8_t types[] = {0, 2, 3};
  const uint8_t depths[] = {64, 3, 3};
  song.instruments.clear();
  for (int i = 0; i < 3; ++i) {
    XmInstrument in = test::squareInstrument();
    in.vibratoType = types[i];
    in.vibratoDepth = depths[i];
    in.vibratoRate = 32;
    song.instruments.push_back(in);
    song.cell(0, 0, i) = {C4, static_cast<uint8_t>(i + 1), 0, 0, 0};
  }
  PlayerRig rig(song);
  std::vector<Ints> deltas(3);
  for (int t = 0; t < 8; ++t) {
    rig.tick();
    for (int ch = 0; ch < 3; ++ch) deltas[ch].push_back(rig.channel(ch).vibratoDelta);
  }
  // Depth 64 shows the wave itself: trunc(sin(q x 2 pi / 256) x 64), truncated towards 0.
  EXPECT_EQ(deltas[0], (Ints{0, 45, 64, 45, 0, -45, -64, -45}));
  // Depth 3: (wave x 3) >> 6 rounds towards minus infinity. Type 2 falls from 0, type 3 rises.
  EXPECT_EQ(deltas[1], (Ints{0, -1, -2, -3, 3, 2, 1, 0}));
  EXPECT_EQ(deltas[2], (Ints{0, 0, 1, 2, 3, -3, -2, -1}));
  EXPECT_EQ(rig.voice(1).frequency, 8363) << "the pitch is updated every tick";
  EXPECT_EQ(rig.voice(2).frequency, linearFrequency(4608, -1));
}

}  // namespace
}  // namespace demo
