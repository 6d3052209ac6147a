#include "app/frame_rate_report.h"

#include <cstdio>

namespace demo {

std::string frameRateReport(const FrameState& frame) {
  const auto elapsed = static_cast<int32_t>(frame.demoTime - frame.startTime);
  const double fps = elapsed == 0 ? 0.0 : static_cast<double>(frame.frameCount) * 1000.0 / elapsed;
  char text[64];
  std::snprintf(text, sizeof text, "%5.5f FPS", fps);
  return text;
}

}  // namespace demo
