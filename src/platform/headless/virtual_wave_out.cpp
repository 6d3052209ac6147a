#include "platform/headless/virtual_wave_out.h"

#include <algorithm>

namespace demo {

bool VirtualWaveOut::open(int rate, int channels, int bitsPerSample) {
  if (rate <= 0 || channels <= 0 || bitsPerSample <= 0 || bitsPerSample % 8 != 0) return false;
  rate_ = rate;
  bytesPerFrame_ = channels * bitsPerSample / 8;
  open_ = true;
  return true;
}

void VirtualWaveOut::prepare(const void* ring, size_t bytes) {
  ring_ = static_cast<const uint8_t*>(ring);
  ringBytes_ = bytes;
}

void VirtualWaveOut::write() {
  if (!open_ || !ring_ || ringBytes_ == 0) return;
  playing_ = true;
  ringOffset_ = 0;
  position_.store(0);
}

void VirtualWaveOut::unprepare() {
  playing_ = false;
  ring_ = nullptr;
  ringBytes_ = 0;
}

void VirtualWaveOut::reset() {
  playing_ = false;
  ringOffset_ = 0;
  position_.store(0);
}

void VirtualWaveOut::close() {
  reset();
  open_ = false;
}

void VirtualWaveOut::advance(uint32_t frames) {
  size_t bytes = static_cast<size_t>(frames) * bytesPerFrame_;
  if (!playing_) {
    if (collecting_) played_.insert(played_.end(), bytes, 0);
    return;
  }
  const size_t total = bytes;
  while (bytes > 0) {
    const size_t run = std::min(bytes, ringBytes_ - ringOffset_);
    if (collecting_) played_.insert(played_.end(), ring_ + ringOffset_, ring_ + ringOffset_ + run);
    ringOffset_ = (ringOffset_ + run) % ringBytes_;
    bytes -= run;
  }
  // Moved only once the bytes are taken: an output thread refills what lies behind the position.
  position_.fetch_add(total);
}

std::vector<uint8_t> VirtualWaveOut::takePlayed() {
  std::vector<uint8_t> bytes;
  bytes.swap(played_);
  return bytes;
}

}  // namespace demo
