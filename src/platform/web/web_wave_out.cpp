#include "platform/web/web_wave_out.h"

#include <cmath>

#include "platform/web/web_page.h"

namespace demo {

bool WebWaveOut::open(int rate, int channels, int bitsPerSample) {
  if (channels != 2 || bitsPerSample != 16) return false;
  return demo_audio_open(rate) != 0;
}

void WebWaveOut::prepare(const void* ring, size_t bytes) {
  ring_ = static_cast<const uint8_t*>(ring);
  ringBytes_ = static_cast<uint32_t>(bytes);
  feed_ = RingFeed(ringBytes_);
}

void WebWaveOut::write() {
  if (!ring_) return;
  demo_audio_start(ring_, ringBytes_);
  feed_.start();
  playing_ = true;
}

uint32_t WebWaveOut::positionBytes() {
  if (!playing_) return 0;
  const double frames = std::floor(demo_audio_played_frames());
  const uint64_t played = frames > 0 ? static_cast<uint64_t>(frames) * 4 : 0;
  if (ring_) {
    feed_.positionRead(played, spans_);
    for (const RingFeed::Span& span : spans_) demo_audio_update(ring_ + span.offset, span.offset, span.bytes);
  }
  return static_cast<uint32_t>(played);  // wraps after 4 GiB, as the wave output's position does
}

void WebWaveOut::reset() {
  if (playing_) demo_audio_reset();
  playing_ = false;
}

}  // namespace demo
