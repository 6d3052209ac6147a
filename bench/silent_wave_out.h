#pragma once
// A WaveOut that plays nothing and never moves: the music benchmarks call renderBlock directly, so
// the device side is not measured.

#include "platform/wave_out.h"

namespace demo::bench {

class SilentWaveOut final : public WaveOut {
 public:
  bool open(int, int, int) override { return true; }
  void prepare(const void*, size_t) override {}
  void write() override {}
  uint32_t positionBytes() override { return 0; }
  void unprepare() override {}
  void reset() override {}
  void close() override {}
};

}  // namespace demo::bench
