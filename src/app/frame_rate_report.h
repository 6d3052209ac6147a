#pragma once
// The box at the end of the show: frames presented since start per second of music time.

#include <string>

#include "script/frame_state.h"

namespace demo {

// "%5.5f FPS" of frameCount x 1000 / (demoTime - startTime), the difference as a signed 32-bit
// number. When no music time passed between start and the last frame (or start never ran) there is
// no rate to measure: the report shows 0 rather than dividing by zero.
std::string frameRateReport(const FrameState& frame);

}  // namespace demo
