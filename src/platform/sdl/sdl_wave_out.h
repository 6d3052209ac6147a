#pragma once
// WaveOut on SDL2 audio. SDL pulls sound through a callback and has no playing-position call, so
// the callback copies from the looping ring at the play position and counts the bytes it consumed;
// the position reported is that count minus the device's buffer, which is still to be heard.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "platform/wave_out.h"

namespace demo {

class SdlWaveOut final : public WaveOut {
 public:
  // frames of SDL's device buffer: 1024 at 44100 Hz is 23 ms of latency.
  explicit SdlWaveOut(uint16_t bufferFrames = 1024) : bufferFrames_(bufferFrames) {}
  ~SdlWaveOut() override;
  SdlWaveOut(const SdlWaveOut&) = delete;
  SdlWaveOut& operator=(const SdlWaveOut&) = delete;

  bool open(int rate, int channels, int bitsPerSample) override;
  void prepare(const void* ring, size_t bytes) override;
  void write() override;
  uint32_t positionBytes() override;
  // These three return only when the callback has stopped touching the ring.
  void unprepare() override;
  void reset() override;
  void close() override;

  // What the callback has taken from the ring since write(), latency not subtracted.
  uint64_t consumedBytes() const { return consumed_.load(); }
  uint32_t latencyBytes() const { return latencyBytes_; }

 private:
  static void callback(void* self, uint8_t* stream, int length);
  void fill(uint8_t* stream, size_t length);

  uint16_t bufferFrames_;
  uint32_t device_ = 0;  // SDL_AudioDeviceID
  uint32_t latencyBytes_ = 0;
  // Touched by the callback; changed by the owner only while the device is locked.
  const uint8_t* ring_ = nullptr;
  size_t ringBytes_ = 0;
  size_t playOffset_ = 0;
  bool playing_ = false;
  std::atomic<uint64_t> consumed_{0};
};

}  // namespace demo
