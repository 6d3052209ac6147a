// Periods, frequencies and ticks: the numbers the format and the tempo formula fix.

#include <gtest/gtest.h>

#include "music/pitch.h"
#include "music/player.h"

namespace demo {
namespace {

TEST(Pitch, LinearPeriods) {
  EXPECT_EQ(linearPeriod(48, 0), 4608);
  EXPECT_EQ(linearPeriod(49, 0), 4544);
  EXPECT_EQ(linearPeriod(48, 127), 4608 - 63);
  EXPECT_EQ(linearPeriod(48, -128), 4608 + 64);
  EXPECT_EQ(linearPeriod(48, -3), 4608 + 1) << "finetune / 2 truncates towards zero";
}

TEST(Pitch, AmigaPeriods) {
  EXPECT_EQ(amigaPeriod(48, 0), 1712);
  EXPECT_EQ(amigaPeriod(60, 0), 856);
  EXPECT_EQ(amigaPeriod(36, 0), 3424);
  // Finetune moves towards the neighbouring note's period by finetune / 128 of the distance.
  const int32_t base = amigaPeriod(48, 0), up = amigaPeriod(49, 0), down = amigaPeriod(47, 0);
  EXPECT_EQ(amigaPeriod(48, 64), base - (base - up) * 64 / 128);
  EXPECT_EQ(amigaPeriod(48, -64), base - (base - down) * 64 / 128);
  EXPECT_GT(amigaPeriod(0, -128), 0) << "note 0 with negative finetune uses the upper neighbour";
}

TEST(Pitch, Frequencies) {
  EXPECT_EQ(linearFrequency(4608, 0), 8363) << "C-4 plays the sample at its own rate";
  EXPECT_EQ(linearFrequency(4608 - 768, 0), 16726) << "one octave up";
  EXPECT_EQ(linearFrequency(4608, 768), 16726) << "the offset counts against the period";
  EXPECT_EQ(amigaFrequency(1712, 0), 8362) << "14317056 / 1712, truncated";
  EXPECT_EQ(amigaFrequency(1700, 12), 8362);
  EXPECT_EQ(amigaFrequency(-1712, 0), -8362);
  EXPECT_EQ(linearFrequency(-(1 << 30), 0), 2147483647) << "extreme slides stay in range";
}

TEST(Tempo, SamplesPerTickAt44100) {
  Module m;
  setTempo(m, 125, 44100);
  EXPECT_EQ(m.samplesPerTick, 882);
  setTempo(m, 144, 44100);
  EXPECT_EQ(m.samplesPerTick, 765);
  setTempo(m, 32, 44100);
  EXPECT_EQ(m.samplesPerTick, 3445);
  EXPECT_EQ(m.bpm, 32);
  setTempo(m, 255, 44100);
  EXPECT_EQ(m.samplesPerTick, 432);
  setTempo(m, 32767, 100);
  EXPECT_EQ(m.samplesPerTick, 1) << "never an empty tick";
}

}  // namespace
}  // namespace demo
