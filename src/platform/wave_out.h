#pragma once
// The sound seam: one 16-bit PCM stream playing one looping ring buffer, and the byte position the
// device has played, which is the show's clock. Backends: SDL2 (real sound), virtual (capture and
// tests: the position moves only when its owner says so, and every byte played can be collected),
// and the Windows wave output.

#include <cstddef>
#include <cstdint>

namespace demo {

class WaveOut {
 public:
  virtual ~WaveOut() = default;

  // waveOutOpen: PCM, the given rate, channels and bits per sample. False on failure.
  virtual bool open(int rate, int channels, int bitsPerSample) = 0;
  // waveOutPrepareHeader for the ring: the device will loop over these bytes forever once written.
  virtual void prepare(const void* ring, size_t bytes) = 0;
  // waveOutWrite of the prepared ring: playback starts from its first byte.
  virtual void write() = 0;
  // waveOutGetPosition with TIME_BYTES: bytes played since write(), counted across loops.
  virtual uint32_t positionBytes() = 0;
  // waveOutUnprepareHeader: the ring may be freed afterwards.
  virtual void unprepare() = 0;
  // waveOutReset: stop playing, position back to 0.
  virtual void reset() = 0;
  // waveOutClose.
  virtual void close() = 0;
};

}  // namespace demo
