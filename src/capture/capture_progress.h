#pragma once
// How far a capture is, on stderr: a bar redrawn in place a few times a second when stderr is a
// terminal, else a plain line every few seconds (logs and CI keep those readable).

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace demo {

struct ProgressReading {
  uint64_t frames = 0;
  std::optional<uint64_t> total;  // known with --seconds
  uint32_t fps = 60;
  uint32_t demoTime = 0;  // ms of music
  double elapsed = 0;     // wall-clock seconds since the capture began
};

// "[#####-----]  50%  frame 300/600  demo 0:04.750  61.2 fps (1.02x)  0:04 left" with the bar, or
// "capture: frame 300/600 (50%), demo 0:04.750, 61.2 fps (1.02x real time), 0:04 left" without.
std::string progressText(const ProgressReading& reading, bool bar);

class CaptureProgress {
 public:
  CaptureProgress(std::FILE* out, bool terminal, std::optional<uint64_t> total, uint32_t fps);

  void update(uint64_t frames, uint32_t demoTime);
  // Ends the bar's line so that other text starts on a line of its own.
  void interrupt();
  double elapsed() const;

 private:
  using Clock = std::chrono::steady_clock;

  std::FILE* out_;
  bool terminal_;
  ProgressReading reading_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point lastShown_ = start_;
  bool barShown_ = false;
};

}  // namespace demo
