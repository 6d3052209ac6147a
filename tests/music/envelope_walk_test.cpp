// Envelopes walked tick by tick: a sustain point inside a loop, Lxx past the sustain point, and
// damaged point lists that must still keep the output and the voice level in range.

#include <gtest/gtest.h>

#include <vector>

#include "music_fixtures.h"

namespace demo {
namespace {

using test::basicSong;
using test::PlayerRig;

constexpr uint8_t C4 = 49;
constexpr uint8_t KeyOffNote = 97;
constexpr uint8_t EnvelopePosition = 21;  // Lxx

std::vector<int> volumeOutputs(PlayerRig& rig, int ticks, int channel = 0) {
  std::vector<int> outputs;
  for (int i = 0; i < ticks; ++i) {
    rig.tick();
    outputs.push_back(rig.channel(channel).volumeEnvelope.output);
  }
  return outputs;
}

// 64 down to 32 at tick 4 (sustain, loop start), up to 48 at tick 8 (loop end), then down to 0.
XmEnvelope sustainInLoop() { return {{{0, 64}, {4, 32}, {8, 48}, {12, 0}}, true, true, true, 1, 1, 2}; }

TEST(EnvelopeWalk, TheSustainPointHoldsUntilKeyOffThenTheLoopRepeats) {
  XmSong song = basicSong(1);
  song.instruments[0].volumeEnvelope = sustainInLoop();
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 2, 0) = {KeyOffNote, 0, 0, 0, 0};
  PlayerRig rig(song);
  EXPECT_EQ(volumeOutputs(rig, 12), (std::vector<int>{64, 56, 48, 40, 32, 32, 32, 32, 32, 32, 32, 32}));
  // Released: on through the loop 32, 36, 40, 44, back to 32 at the loop end, never to its last point.
  EXPECT_EQ(volumeOutputs(rig, 10), (std::vector<int>{32, 36, 40, 44, 32, 36, 40, 44, 32, 36}));
  EXPECT_EQ(rig.channel(0).volumeEnvelope.finished, 0);
}

TEST(EnvelopeWalk, LxxPastTheSustainPointRunsToTheLoopEndThenWaitsAtItsStart) {
  // The loop start is also the sustain point: jumping back onto it with the key held, the envelope
  // waits there. It must not go on adding the step of the segment it left.
  XmSong song = basicSong(1);
  song.instruments[0].volumeEnvelope = sustainInLoop();
  song.cell(0, 0, 0) = {C4, 1, 0, EnvelopePosition, 6};
  song.cell(0, 2, 0) = {KeyOffNote, 0, 0, 0, 0};
  PlayerRig rig(song);
  const std::vector<int> held = volumeOutputs(rig, 12);
  EXPECT_EQ(held, (std::vector<int>{40, 44, 48, 32, 32, 32, 32, 32, 32, 32, 32, 32}));
  EXPECT_EQ(rig.channel(0).volumeEnvelope.tick, 4);
  EXPECT_EQ(rig.voice(0).level, 32 * 255 / 128) << "the voice follows the held value";
  EXPECT_EQ(volumeOutputs(rig, 5), (std::vector<int>{32, 36, 40, 44, 32})) << "key-off releases it";
}

TEST(EnvelopeWalk, APanningLoopJumpingOntoItsSustainPointWaitsThere) {
  // A loop whose start (also the sustain point) lies after its end: the walk meets the loop end
  // first and jumps forward onto the sustain point, where it must wait rather than slide on.
  XmSong song = basicSong(1);
  song.instruments[0].panningEnvelope = {{{0, 32}, {2, 0}, {4, 64}, {6, 32}}, true, true, true, 2, 2, 1};
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  PlayerRig rig(song);
  std::vector<int> outputs;
  for (int i = 0; i < 8; ++i) {
    rig.tick();
    outputs.push_back(rig.channel(0).panningEnvelope.output);
  }
  EXPECT_EQ(outputs, (std::vector<int>{32, 16, 64, 64, 64, 64, 64, 64}));
  EXPECT_EQ(rig.voice(0).panning, 255) << "128 + (64 - 32) x 4, clamped";
}

// Ticks that run backwards (4, then 2) leave the walk sliding past the last point it can meet.
XmEnvelope ticksRunningBackwards() { return {{{0, 0}, {4, 64}, {2, 0}}, true, false, false, 0, 0, 0}; }

TEST(EnvelopeWalk, DamagedPointsNeverLeaveTheRangeOfTheOutputOrTheLevel) {
  XmSong song = basicSong(2);
  song.instruments[0].volumeEnvelope = ticksRunningBackwards();
  song.instruments[0].panningEnvelope = ticksRunningBackwards();
  song.instruments.push_back(song.instruments[0]);
  // And one that slides down for ever.
  song.instruments[1].volumeEnvelope = {{{0, 64}, {2, 0}, {1, 64}}, true, false, false, 0, 0, 0};
  song.cell(0, 0, 0) = {C4, 1, 0, 0, 0};
  song.cell(0, 0, 1) = {C4, 2, 0, 0, 0};
  PlayerRig rig(song);
  bool reachedTop = false;
  for (int tick = 0; tick < 400; ++tick) {
    rig.tick();
    for (int ch = 0; ch < 2; ++ch) {
      SCOPED_TRACE(testing::Message() << "tick " << tick << " channel " << ch);
      const Channel& c = rig.channel(ch);
      ASSERT_GE(c.volumeEnvelope.output, 0);
      ASSERT_LE(c.volumeEnvelope.output, 64);
      ASSERT_GE(c.panningEnvelope.output, 0);
      ASSERT_LE(c.panningEnvelope.output, 64);
      ASSERT_LE(rig.voice(ch).level, 127);
      ASSERT_GE(rig.voice(ch).level, 0);
    }
    reachedTop = reachedTop || rig.voice(0).level == 127;
  }
  EXPECT_TRUE(reachedTop) << "the first envelope slides up past 64 and is held there";
}

}  // namespace
}  // namespace demo
