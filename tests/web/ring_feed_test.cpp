// The page's player holds a copy of the ring; RingFeed says what to copy over when. Simulated here:
// an engine that refills blocks after the device leaves them (as AudioOutput::poll does, reading the
// position first) and writes into each byte the lap it belongs to, and a player that plays its
// copy. Whatever the player plays must be the sound of that moment, unless the engine stalled
// longer than the feed's lead, when it may only be the sound of the ring's previous lap.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/web/ring_feed.h"

namespace demo::test {
namespace {

constexpr uint32_t BlockBytes = 884 * 4;  // the show's 20 ms blocks
constexpr uint32_t Blocks = 100;
constexpr uint32_t RingBytes = BlockBytes * Blocks;

// Each byte of the ring holds the lap (position / RingBytes) of the absolute position it was
// rendered for, so a copy shows whose sound it holds.
struct Simulation {
  std::vector<uint8_t> ring = std::vector<uint8_t>(RingBytes, 0);
  std::vector<uint8_t> copy = std::vector<uint8_t>(RingBytes, 0xFF);
  RingFeed feed{RingBytes};
  uint64_t refill = 0;  // absolute position of the next block to render
  std::vector<RingFeed::Span> spans;

  void renderBlock() {
    for (uint32_t i = 0; i < BlockBytes; ++i) ring[(refill + i) % RingBytes] = static_cast<uint8_t>(refill / RingBytes);
    refill += BlockBytes;
  }
  void start() {
    while (refill < RingBytes) renderBlock();  // the whole ring before playback
    copy = ring;
    feed.start();
  }
  // The engine's poll at this played position: the position is read (and the feed sends), then every
  // block the device has left is refilled, which puts the next lap's sound there.
  void poll(uint64_t played) {
    feed.positionRead(played, spans);
    for (const RingFeed::Span& span : spans) {
      ASSERT_LE(span.offset + span.bytes, RingBytes);
      std::copy(ring.begin() + span.offset, ring.begin() + span.offset + span.bytes, copy.begin() + span.offset);
    }
    const uint64_t leftBlocks = played / BlockBytes * BlockBytes;
    while (refill < leftBlocks + RingBytes) renderBlock();
  }
  // What the player plays at this position: the lap its copy holds there.
  int playedLap(uint64_t position) const { return copy[position % RingBytes]; }
};

TEST(RingFeed, ThePlayerAlwaysHoldsTheSoundOfTheMomentWhenPollsComeEachFrame) {
  Simulation s;
  s.start();
  uint64_t played = 0;
  // 60 frames a second for six rings' worth; between polls the player plays on.
  const uint64_t frameBytes = 44100 * 4 / 60;
  for (int frame = 0; frame < 60 * 12; ++frame) {
    for (uint64_t p = played; p < played + frameBytes; p += 64) ASSERT_EQ(s.playedLap(p), p / RingBytes) << p;
    played += frameBytes;
    s.poll(played);
    if (HasFatalFailure()) return;
  }
}

TEST(RingFeed, SlowAndIrregularPollsStillKeepAheadOfThePlayer) {
  Simulation s;
  s.start();
  uint64_t played = 0;
  // Gaps from 3 bytes to nearly the lead, as a page that stutters would give; any two in a row
  // stay under the lead (half the ring), which is what the feed needs.
  const uint64_t gaps[] = {BlockBytes, 7 * BlockBytes + 12, RingBytes / 4, 3, RingBytes / 5, RingBytes / 4 - 4,
                           2 * BlockBytes, RingBytes / 2 - 3 * BlockBytes};
  for (int i = 0; i < 64; ++i) {
    const uint64_t gap = gaps[i % 8];
    for (uint64_t p = played; p < played + gap; p += 32) ASSERT_EQ(s.playedLap(p), p / RingBytes) << p;
    played += gap;
    s.poll(played);
  }
}

TEST(RingFeed, AfterAStallThePlayerLoopsTheOldLapAndThenCatchesUp) {
  Simulation s;
  s.start();
  s.poll(BlockBytes);
  // Nothing for three quarters of a ring, far past the lead: the player runs into bytes it was not
  // given again, and plays what it has, the ring's previous lap, as a starved wave device does.
  const uint64_t stalled = BlockBytes + RingBytes * 3 / 4 + 100;
  for (uint64_t p = BlockBytes; p < stalled; p += 64) EXPECT_LE(s.playedLap(p), p / RingBytes);
  s.poll(stalled);
  // The bytes it has passed are not sent; one poll later it holds the sound of the moment again.
  const uint64_t next = stalled + BlockBytes;
  s.poll(next);
  for (uint64_t p = next; p < next + RingBytes / 4; p += 64) ASSERT_EQ(s.playedLap(p), p / RingBytes) << p;
}

// The arithmetic on a ring of 1000 bytes (a lead of 500): each reading sends from where the last
// sending ended, or from the played position when that is further, up to the previous reading plus
// the lead, cut at the ring's end.
TEST(RingFeed, SpansRunFromTheLastSendingToTheLeadAndCutAtTheRingsEnd) {
  RingFeed feed(1000);
  std::vector<RingFeed::Span> spans;
  const auto read = [&](uint64_t played) {
    feed.positionRead(played, spans);
    std::vector<std::pair<uint32_t, uint32_t>> pairs;
    for (const RingFeed::Span& span : spans) pairs.emplace_back(span.offset, span.bytes);
    return pairs;
  };
  using Spans = std::vector<std::pair<uint32_t, uint32_t>>;
  feed.start();
  EXPECT_EQ(read(0), Spans{}) << "the whole ring went over at the start";
  EXPECT_EQ(read(300), Spans{});
  EXPECT_EQ(read(600), Spans{}) << "up to 300 + 500: the player has that already";
  EXPECT_EQ(read(900), (Spans{{0, 100}})) << "1000 to 1100, the second lap's first bytes";
  EXPECT_EQ(read(1050), (Spans{{100, 300}}));
  EXPECT_EQ(read(1350), (Spans{{400, 150}}));
  EXPECT_EQ(read(1540), (Spans{{550, 300}}));
  EXPECT_EQ(read(1600), (Spans{{850, 150}, {0, 40}})) << "1850 to 2040, across the ring's end";
  EXPECT_EQ(feed.sentUpTo(), 2040u);
  // A stall: the player is past all it was given. Nothing is sent until the lead is ahead again,
  // and what it has passed is never sent.
  EXPECT_EQ(read(2900), Spans{});
  EXPECT_EQ(read(3000), (Spans{{0, 400}})) << "from the played position 3000 to 2900 + 500";
}

}  // namespace
}  // namespace demo::test
