#pragma once
// WaveOut on the Windows wave output (winmm): the ring is one looping header queued on the wave
// mapper's device, and the position is the device's own count of bytes played.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/wave_out.h"

namespace demo {

class WaveOutDevice final : public WaveOut {
 public:
  WaveOutDevice();
  ~WaveOutDevice() override;
  WaveOutDevice(const WaveOutDevice&) = delete;
  WaveOutDevice& operator=(const WaveOutDevice&) = delete;

  bool open(int rate, int channels, int bitsPerSample) override;
  // WHDR_BEGINLOOP | WHDR_ENDLOOP with the loop count at its maximum: the device plays the ring until
  // it is reset.
  void prepare(const void* ring, size_t bytes) override;
  void write() override;
  uint32_t positionBytes() override;
  // winmm refuses to unprepare a ring it still plays; since the owner frees the ring next, the device
  // is reset first (it would otherwise read freed memory, looping the last two seconds).
  void unprepare() override;
  void reset() override;
  void close() override;

 private:
  struct Native;  // the HWAVEOUT and the WAVEHDR, kept out of this header
  std::unique_ptr<Native> native_;
};

}  // namespace demo
