// The wave-out ring under Wine (an ALSA null device behind it: its position runs faster than real
// time, so only its direction and resets are checked here; timing tests use the virtual output).

#include <vector>

#include <gtest/gtest.h>

#include "platform/win32/wave_out_device.h"

#include <windows.h>

namespace demo {
namespace {

uint32_t positionAfter(WaveOutDevice& out, DWORD milliseconds) {
  Sleep(milliseconds);
  return out.positionBytes();
}

TEST(WaveOutDevice, TheLoopingRingPlaysUntilResetAndCanBeFreedAfterUnprepare) {
  WaveOutDevice out;
  ASSERT_TRUE(out.open(44100, 2, 16)) << "no wave output device (scripts/wine-run.sh sets up a null one)";
  std::vector<int16_t> ring(4410 * 2);  // 100 ms
  out.prepare(ring.data(), ring.size() * sizeof(int16_t));
  EXPECT_EQ(out.positionBytes(), 0u) << "nothing plays before write";
  out.write();
  const uint32_t first = positionAfter(out, 150);
  EXPECT_GT(first, 0u);
  EXPECT_EQ(first % 4, 0u) << "whole frames";
  // The ring loops: the count goes on past its length.
  uint32_t later = first;
  for (int i = 0; i < 40 && later <= ring.size() * sizeof(int16_t); ++i) later = positionAfter(out, 50);
  EXPECT_GT(later, ring.size() * sizeof(int16_t));
  // Unpreparing a ring still playing stops the device first, so freeing the ring is safe.
  out.unprepare();
  const uint32_t stopped = out.positionBytes();
  EXPECT_LE(positionAfter(out, 60), stopped + 4);
  out.reset();
  EXPECT_EQ(out.positionBytes(), 0u);
  out.close();
  out.close();
  EXPECT_EQ(out.positionBytes(), 0u) << "closed";
}

TEST(WaveOutDevice, CallsWithoutAnOpenDeviceDoNothingAndOpeningAgainReplacesTheDevice) {
  WaveOutDevice out;
  std::vector<int16_t> ring(64);
  out.prepare(ring.data(), ring.size() * sizeof(int16_t));
  out.write();
  out.unprepare();
  out.reset();
  EXPECT_EQ(out.positionBytes(), 0u);
  ASSERT_TRUE(out.open(44100, 2, 16));
  out.prepare(ring.data(), ring.size() * sizeof(int16_t));
  out.write();
  ASSERT_TRUE(out.open(22050, 2, 16)) << "the first device, still playing, is closed first";
  EXPECT_EQ(out.positionBytes(), 0u);
}

}  // namespace
}  // namespace demo
