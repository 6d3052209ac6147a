// The two WaveOut backends: the virtual one of capture and tests, and SDL's on its dummy driver.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/headless/virtual_wave_out.h"
#include "platform/sdl/sdl_wave_out.h"

namespace demo {
namespace {

std::vector<uint8_t> countingRing(size_t bytes) {
  std::vector<uint8_t> ring(bytes);
  for (size_t i = 0; i < bytes; ++i) ring[i] = static_cast<uint8_t>(i);
  return ring;
}

TEST(VirtualWaveOut, PlaysTheRingRoundAndRound) {
  VirtualWaveOut out;
  ASSERT_TRUE(out.open(44100, 2, 16));
  const std::vector<uint8_t> ring = countingRing(40);  // 10 frames
  out.prepare(ring.data(), ring.size());
  out.write();
  out.advance(7);
  out.advance(7);
  EXPECT_EQ(out.positionBytes(), 56u);
  const std::vector<uint8_t> played = out.takePlayed();
  ASSERT_EQ(played.size(), 56u);
  for (size_t i = 0; i < played.size(); ++i) EXPECT_EQ(played[i], ring[i % 40]) << i;
  EXPECT_TRUE(out.takePlayed().empty()) << "taken once";
}

TEST(VirtualWaveOut, AnIdleDevicePlaysSilenceAndKeepsItsPosition) {
  VirtualWaveOut out;
  ASSERT_TRUE(out.open(44100, 2, 16));
  out.advance(3);
  EXPECT_EQ(out.positionBytes(), 0u);
  EXPECT_EQ(out.takePlayed(), std::vector<uint8_t>(12, 0));

  const std::vector<uint8_t> ring = countingRing(40);
  out.prepare(ring.data(), ring.size());
  out.write();
  out.advance(2);
  out.unprepare();  // the ring may go away now
  out.advance(1);
  EXPECT_EQ(out.positionBytes(), 8u);
  const std::vector<uint8_t> played = out.takePlayed();
  ASSERT_EQ(played.size(), 12u);
  EXPECT_EQ(played[7], 7);
  EXPECT_EQ(played[8], 0);
  out.reset();
  EXPECT_EQ(out.positionBytes(), 0u);
  out.close();
  EXPECT_FALSE(out.isOpen());
}

TEST(VirtualWaveOut, ThePositionWrapsAt32BitsLikeTheDevice) {
  VirtualWaveOut out;
  out.setCollecting(false);
  ASSERT_TRUE(out.open(44100, 2, 16));
  const std::vector<uint8_t> ring = countingRing(400);
  out.prepare(ring.data(), ring.size());
  out.write();
  out.advance(1u << 30);
  out.advance(5);
  EXPECT_EQ(out.positionBytes(), 20u);
  EXPECT_EQ(out.totalBytes(), (uint64_t{1} << 32) + 20);
}

// SDL's dummy driver runs the callback at about real time without sound hardware.
class SdlWaveOutTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SdlWaveOutTest, CountsTheBytesItPlaysFromTheRing) {
  SdlWaveOut out(512);
  if (!out.open(44100, 2, 16)) GTEST_SKIP() << "SDL audio (dummy driver) is not available";
  EXPECT_EQ(out.latencyBytes(), 512u * 4);
  const std::vector<uint8_t> ring(88400 * 4, 0);
  out.prepare(ring.data(), ring.size());
  out.write();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (out.positionBytes() < 8192 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_GE(out.positionBytes(), 8192u);
  EXPECT_EQ(out.consumedBytes() - out.positionBytes(), out.latencyBytes()) << "latency is subtracted";
  out.unprepare();  // returns only when the callback has let go of the ring
  const uint64_t consumed = out.consumedBytes();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(out.consumedBytes(), consumed) << "an unprepared device plays silence";
  out.reset();
  EXPECT_EQ(out.positionBytes(), 0u);
  out.close();
  out.close();  // harmless twice
}

}  // namespace
}  // namespace demo
