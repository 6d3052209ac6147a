// Effects that start, restart or hold back notes: sample offset memory, E9x and Rxy retriggers with
// the retrigger volume table, EDx's restore on its row tick, E5x on the shared sample, and notes that
// wrap below the lowest C.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "music/pitch.h"
#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::PlayerRig;
using Ints = std::vector<int>;

constexpr uint8_t C4 = 49, C5 = 61;
constexpr uint8_t MultiRetrigger = 27;  // Rxy

// For each tick, whether the voice was (re)started: its position is 0 right after the tick, having
// been moved on by mixing 200 frames after every tick (never a whole number of 64-sample loops).
Ints retriggers(PlayerRig& rig, int ticks, int channel = 0) {
  Ints started;
  for (int i = 0; i < ticks; ++i) {
    rig.tick();
    started.push_back(rig.voice(channel).position == 0 && rig.voice(channel).fraction == 0);
    rig.mix(200);
  }
  return started;
}

TEST(PlayerSampleOffset, NineZeroZeroUsesTheLastOffset) {
  XmSong song = basicSong(2);
  XmSample& sample = song.instruments[0].samples[0];
  sample.data.assign(1024, 50);
  sample.loopLength = 1024;
  song.cell(0, 0, 0) = {C4, 1, 0, 0x9, 0x02};
  song.cell(0, 1, 0) = {C4, 1, 0, 0x9, 0x00};
  song.cell(0, 1, 1) = {C4, 1, 0, 0x9, 0x00};  // nothing remembered: from the start
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.voice(0).position, 512u);
  rig.mix(300);
  rig.tick(6);
  EXPECT_EQ(rig.voice(0).position, 512u);
  EXPECT_EQ(rig.voice(1).position, 0u);
}

TEST(PlayerRetrigger, E9xRestartsWhereTheTickIsAMultipleOfX) {
  XmSong song = basicSong(3);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0x92};
  song.cell(0, 0, 1) = {C4, 1, 0, 0xE, 0x93};
  song.cell(0, 0, 2) = {C4, 1, 0, 0xE, 0x90};
  PlayerRig rig(song);
  std::vector<Ints> started(3);
  for (int i = 0; i < 6; ++i) {
    rig.tick();
    for (int ch = 0; ch < 3; ++ch) started[ch].push_back(rig.voice(ch).position == 0);
    rig.mix(200);
  }
  EXPECT_EQ(started[0], (Ints{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(started[1], (Ints{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(started[2], (Ints{1, 0, 0, 0, 0, 0}));
}

TEST(PlayerRetrigger, RxyChangesTheVolumeByItsTableOnEveryRetrigger) {
  // Kinds 1..15 from volume 31, then two clamps.
  XmSong song = basicSong(17);
  for (int kind = 1; kind <= 15; ++kind) {
    song.cell(0, 0, kind - 1) = {C4, 1, 0x10 + 31, MultiRetrigger, static_cast<uint8_t>(kind << 4 | 1)};
  }
  song.cell(0, 0, 15) = {C4, 1, 0x10 + 40, MultiRetrigger, 0xF1};
  song.cell(0, 0, 16) = {C4, 1, 0x10 + 10, MultiRetrigger, 0x51};
  PlayerRig rig(song);
  rig.tick(2);
  Ints volumes;
  for (int ch = 0; ch < 17; ++ch) volumes.push_back(rig.channel(ch).volume);
  EXPECT_EQ(volumes, (Ints{30, 29, 27, 23, 15, 20, 15, 31, 32, 33, 35, 39, 47, 46, 62, 64, 0}));
}

TEST(PlayerRetrigger, RxyRestartsEveryYTicksAndKeepsItsParametersThroughR00) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, MultiRetrigger, 0x02};  // kind 0: the volume stays
  song.cell(0, 0, 1) = {C4, 1, 0, MultiRetrigger, 0x33};  // -4 every third tick
  song.cell(0, 1, 1) = {0, 0, 0, MultiRetrigger, 0x00};
  PlayerRig rig(song);
  EXPECT_EQ(retriggers(rig, 6), (Ints{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(rig.channel(0).volume, 64);
  EXPECT_EQ(rig.channel(1).volume, 60);
  EXPECT_EQ(retriggers(rig, 6, 1), (Ints{0, 0, 0, 1, 0, 0})) << "the row tick never retriggers";
  EXPECT_EQ(rig.channel(1).volume, 56);
}

TEST(PlayerNoteDelay, TheRowTickRestoresPeriodVolumeAndPanningUntilTheNoteComes) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0x30, 0x8, 0x40};  // volume 32, panning 64
  song.cell(0, 1, 0) = {C5, 1, 0x20, 0xE, 0xD3};
  PlayerRig rig(song);
  rig.playRow();
  rig.mix(1000);
  const uint32_t position = rig.voice(0).position;
  for (int tick = 0; tick < 3; ++tick) {
    SCOPED_TRACE(tick);
    rig.tick();
    EXPECT_EQ(rig.channel(0).period, 4608);
    EXPECT_EQ(rig.channel(0).volume, 32);
    EXPECT_EQ(rig.channel(0).pan, 64);
    EXPECT_EQ(rig.voice(0).frequency, 8363);
    EXPECT_EQ(rig.voice(0).level, 32 * 255 / 128);
    EXPECT_EQ(rig.voice(0).panning, 64);
    EXPECT_EQ(rig.voice(0).position, position);
  }
  rig.tick();
  EXPECT_EQ(rig.channel(0).period, 3840);
  EXPECT_EQ(rig.voice(0).frequency, 16726);
  EXPECT_EQ(rig.voice(0).level, 16 * 255 / 128) << "the volume column comes with the note";
  EXPECT_EQ(rig.voice(0).panning, 128) << "the instrument's panning";
  EXPECT_EQ(rig.voice(0).position, 0u);
}

TEST(PlayerFinetune, E5xWritesTheSharedSampleAfterItsRowsPitch) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {C4, 1, 0, 0xE, 0x5F};
  song.cell(0, 1, 1) = {C4, 1, 0, 0, 0};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.channel(0).period, 4608) << "this row's note was already pitched";
  EXPECT_EQ(rig.module->instruments[0].samples[0]->finetune, 15);
  rig.tick(6);
  EXPECT_EQ(rig.channel(1).period, 4608 - 15 / 2) << "every later note of the sample, on any channel";
}

TEST(PlayerNotes, ANegativeRelativeNoteWrapsBelowTheLowestC) {
  XmSong song = basicSong(2);
  song.instruments[0].samples[0].relativeNote = -12;
  song.cell(0, 0, 0) = {1, 1, 0, 0, 0};
  song.cell(0, 0, 1) = {13, 1, 0, 0, 0};
  PlayerRig rig(song);
  rig.tick();
  EXPECT_EQ(rig.channel(0).realNote, 244) << "-12 + 1 - 1 modulo 256";
  EXPECT_EQ(rig.channel(0).period, 7680 - 244 * 64);
  const double exponent = static_cast<double>(static_cast<float>(4608 + 7936) * 0.0013020834f);
  EXPECT_EQ(rig.voice(0).frequency, static_cast<int32_t>(8363 * std::exp2(exponent)));
  EXPECT_EQ(rig.channel(1).realNote, 0);
  EXPECT_EQ(rig.channel(1).period, 7680);
}

}  // namespace
}  // namespace demo
