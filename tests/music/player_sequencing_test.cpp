// The pattern player's order of rows and ticks: speed, jumps, breaks, loops and delays.

#include <gtest/gtest.h>

#include <vector>

#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::PlayerRig;

constexpr uint8_t C4 = 49;
constexpr XmCell speedOne{0, 0, 0, 0xF, 0x01};

TEST(PlayerSequencing, SpeedZeroPlaysOneRowPerTick) {
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {0, 0, 0, 0xF, 0x00};
  PlayerRig rig(song);
  for (int row = 0; row < 4; ++row) {
    rig.tick();
    EXPECT_EQ(rig.module->playingRow, row);
    EXPECT_EQ(rig.module->tick, 0);
  }
}

TEST(PlayerSequencing, DefaultSpeedGivesThatManyTicksPerRow) {
  PlayerRig rig(basicSong(1));
  rig.tick(6);
  EXPECT_EQ(rig.module->playingRow, 0);
  rig.tick();
  EXPECT_EQ(rig.module->playingRow, 1);
}

XmSong twoOrderSong(uint8_t breakParameter) {
  XmSong song = basicSong(1);
  song.addPattern(64);
  song.orders = {0, 1};
  song.cell(0, 0, 0) = speedOne;
  song.cell(1, 0, 0) = {0, 0, 0, 0xD, breakParameter};
  return song;
}

TEST(PlayerSequencing, APatternBreakOnTheLastOrderGoesToOrderZero) {
  PlayerRig rig(twoOrderSong(0x40));
  rig.tick(64 + 1);  // all of order 0, then the break row
  EXPECT_EQ(rig.module->order, 1);
  rig.tick();
  EXPECT_EQ(rig.module->order, 0);
  EXPECT_EQ(rig.module->playingRow, 40) << "x * 10 + y";

  PlayerRig tooFar(twoOrderSong(0x64));
  tooFar.tick(64 + 2);
  EXPECT_EQ(tooFar.module->order, 0);
  EXPECT_EQ(tooFar.module->playingRow, 0) << "rows above 63 give row 0";
}

XmSong jumpAndBreak(int jumpChannel, int breakChannel) {
  XmSong song = basicSong(3, 8);
  song.addPattern(8);
  song.addPattern(8);
  song.orders = {0, 1, 2};
  song.cell(0, 0, 2) = speedOne;
  song.cell(0, 0, jumpChannel) = {0, 0, 0, 0xB, 2};
  song.cell(0, 0, breakChannel) = {0, 0, 0, 0xD, 0x05};
  return song;
}

TEST(PlayerSequencing, JumpAndBreakInOneRow) {
  PlayerRig jumpFirst(jumpAndBreak(0, 1));
  jumpFirst.tick(2);
  EXPECT_EQ(jumpFirst.module->order, 2) << "the jump keeps its target";
  EXPECT_EQ(jumpFirst.module->playingRow, 5) << "and the break sets the row";

  PlayerRig breakFirst(jumpAndBreak(1, 0));
  breakFirst.tick(2);
  EXPECT_EQ(breakFirst.module->order, 2);
  EXPECT_EQ(breakFirst.module->playingRow, 0) << "a later jump resets the row";
}

TEST(PlayerSequencing, PatternLoopPlaysItsRowsThreeTimes) {
  XmSong song = basicSong(1, 32);
  song.cell(0, 0, 0) = speedOne;
  song.cell(0, 8, 0) = {0, 0, 0, 0xE, 0x60};
  song.cell(0, 15, 0) = {0, 0, 0, 0xE, 0x62};
  PlayerRig rig(song);
  std::vector<int> rows;
  for (int i = 0; i < 8 + 3 * 8 + 2; ++i) {
    rig.tick();
    rows.push_back(rig.module->playingRow);
  }
  std::vector<int> expected;
  for (int r = 0; r < 8; ++r) expected.push_back(r);
  for (int pass = 0; pass < 3; ++pass) {
    for (int r = 8; r <= 15; ++r) expected.push_back(r);
  }
  expected.push_back(16);
  expected.push_back(17);
  EXPECT_EQ(rows, expected);
}

TEST(PlayerSequencing, EffectTicksOfALoopRowActOnThatRow) {
  // E6x moves `row` to before the loop start in the middle of its row; the volume slide beside it
  // must still run on the row's effect ticks.
  XmSong song = basicSong(2, 8);
  song.speed = 3;
  song.cell(0, 0, 0) = {0, 0, 0, 0xE, 0x60};
  song.cell(0, 1, 0) = {0, 0, 0, 0xE, 0x61};
  song.cell(0, 1, 1) = {C4, 1, 0, 0xA, 0x04};
  PlayerRig rig(song);
  rig.playRow();
  rig.playRow();
  EXPECT_EQ(rig.channel(1).volume, 64 - 2 * 4);
  rig.tick();
  EXPECT_EQ(rig.module->playingRow, 0) << "and the loop goes back";
}

TEST(PlayerSequencing, PatternDelayStretchesTheRowAndItsEffects) {
  XmSong song = basicSong(2);
  song.cell(0, 0, 0) = {0, 0, 0, 0xE, 0xE2};
  song.cell(0, 0, 1) = {C4, 1, 0, 0xA, 0x01};
  PlayerRig rig(song);
  int ticks = 0;
  do {
    rig.tick();
    ++ticks;
  } while (rig.module->tick != 0);
  EXPECT_EQ(ticks, 18) << "speed 6 plus 2 x 6";
  EXPECT_EQ(rig.channel(1).volume, 64 - 17) << "every tick after the first slides";
}

TEST(PlayerSequencing, ABreakIntoAShorterPatternStaysInsideIt) {
  XmSong song = basicSong(1, 64);
  song.addPattern(16);
  song.orders = {0, 1};
  song.cell(0, 0, 0) = {0, 0, 0, 0xD, 0x20};
  song.speed = 1;
  PlayerRig rig(song);
  rig.tick(2);
  EXPECT_EQ(rig.module->order, 1);
  EXPECT_EQ(rig.module->playingRow, 0) << "row 20 of a 16-row pattern plays its first row";
}

TEST(PlayerSequencing, TheSongContinuesAtItsRestartPosition) {
  XmSong song = basicSong(1, 1);
  song.addPattern(1);
  song.addPattern(1);
  song.orders = {0, 1, 2};
  song.restartPosition = 1;
  song.speed = 1;
  PlayerRig rig(song);
  std::vector<int> orders;
  for (int i = 0; i < 6; ++i) {
    rig.tick();
    orders.push_back(rig.module->order);
  }
  EXPECT_EQ(orders, (std::vector<int>{0, 1, 2, 1, 2, 1}));
}

TEST(PlayerSequencing, PositionJumpBeyondTheSongGoesToTheStart) {
  XmSong song = basicSong(1, 4);
  song.addPattern(4);
  song.orders = {0, 1};
  song.speed = 1;
  song.cell(1, 0, 0) = {0, 0, 0, 0xB, 9};
  PlayerRig rig(song);
  rig.tick(4 + 2);
  EXPECT_EQ(rig.module->order, 0);
  EXPECT_EQ(rig.module->playingRow, 0);
}

}  // namespace
}  // namespace demo
