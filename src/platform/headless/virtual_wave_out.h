#pragma once
// A WaveOut whose position moves only when its owner calls advance(frames): capture and tests run
// the show's audio at exact sample counts. Every byte "played" is read from the looping ring exactly
// as a device would and kept until the owner takes it (for the WAV output). While no ring plays,
// advancing produces silence and leaves the position, like an idle device.

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/wave_out.h"

namespace demo {

class VirtualWaveOut final : public WaveOut {
 public:
  bool open(int rate, int channels, int bitsPerSample) override;
  void prepare(const void* ring, size_t bytes) override;
  void write() override;
  uint32_t positionBytes() override { return static_cast<uint32_t>(position_.load()); }
  void unprepare() override;
  void reset() override;
  void close() override;

  // Plays frames: appends them to the collected bytes and moves the position (while a ring plays).
  void advance(uint32_t frames);
  // With false, advance moves the position without keeping the bytes (tests that only need the clock).
  void setCollecting(bool collecting) { collecting_ = collecting; }
  // The bytes played since the last call.
  std::vector<uint8_t> takePlayed();

  bool isOpen() const { return open_; }
  bool isPlaying() const { return playing_; }
  int rate() const { return rate_; }
  int bytesPerFrame() const { return bytesPerFrame_; }
  // Bytes played since write(), not wrapped at 32 bits.
  uint64_t totalBytes() const { return position_.load(); }

 private:
  bool open_ = false;
  bool playing_ = false;
  bool collecting_ = true;
  int rate_ = 0;
  int bytesPerFrame_ = 4;
  const uint8_t* ring_ = nullptr;
  size_t ringBytes_ = 0;
  size_t ringOffset_ = 0;
  // Read by an output thread while the owner advances it.
  std::atomic<uint64_t> position_{0};
  std::vector<uint8_t> played_;
};

}  // namespace demo
