#pragma once
// The wave output on Web Audio: the page's player loops a copy of the ring, and the played position
// is the audio clock's (the frames heard since playback started, the output's latency taken off),
// so the picture follows the sound that is heard, as on the other platforms. Copying the ring over
// is RingFeed's business; it happens when the engine reads the position, which its poll does
// before every refill.

#include <vector>

#include "platform/wave_out.h"
#include "platform/web/ring_feed.h"

namespace demo {

class WebWaveOut final : public WaveOut {
 public:
  // 16-bit stereo only (the show's format); false when the page has no working player.
  bool open(int rate, int channels, int bitsPerSample) override;
  void prepare(const void* ring, size_t bytes) override;
  void write() override;
  uint32_t positionBytes() override;
  // The player keeps looping its copy until reset, as a wave device keeps looping its ring.
  void unprepare() override { ring_ = nullptr; }
  void reset() override;
  void close() override { reset(); }

 private:
  const uint8_t* ring_ = nullptr;
  uint32_t ringBytes_ = 0;
  bool playing_ = false;
  RingFeed feed_{0};
  std::vector<RingFeed::Span> spans_;
};

}  // namespace demo
