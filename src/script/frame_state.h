#pragma once
// What one frame of the show shares: the clock reading every instruction of the frame sees, whether
// `start` has run, the frame count for the report, the clear colour and whether the device scene
// has been begun in this frame.

#include <cstdint>

namespace demo {

struct FrameState {
  uint32_t demoTime = 0;         // ms of music, read at the top of each frame once started
  bool showStarted = false;      // set by start; before it frames are neither cleared nor timed
  uint32_t startTime = 0;        // the clock at start, for the frame-rate report
  uint32_t frameCount = 0;       // frames presented; reset by start
  uint32_t backgroundColor = 0;  // 0xAARRGGBB every frame is cleared to; fadebg changes it
  bool sceneOpen = false;        // BeginScene called in this frame
};

}  // namespace demo
