#pragma once
// Where each video frame lies on the sound's time line. Frame k covers output frames
// [k x rate / fps, (k + 1) x rate / fps), both rounded down, so the frames always add up to exactly
// n x rate / fps samples even when the rate does not divide (44100 / 24 = 1837.5: the frames take
// 1837 and 1838 in turn, never drifting).

#include <cstdint>

namespace demo {

class FrameSchedule {
 public:
  FrameSchedule(uint32_t rate, uint32_t fps) : rate_(rate), fps_(fps) {}

  // The first output frame of video frame k.
  uint64_t start(uint64_t k) const { return k * rate_ / fps_; }
  // How many output frames video frame k lasts.
  uint32_t length(uint64_t k) const { return static_cast<uint32_t>(start(k + 1) - start(k)); }
  uint32_t fps() const { return fps_; }

 private:
  uint64_t rate_;
  uint64_t fps_;
};

}  // namespace demo
