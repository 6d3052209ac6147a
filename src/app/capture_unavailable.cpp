// --capture in the Windows build, which has no headless renderer, PNG writer or ffmpeg pipe.
#include "app/capture.h"

namespace demo {

int runCapture(const CaptureOptions&, const std::string&, const char*, std::FILE* log) {
  std::fputs("demo: --capture is not available in the Windows build; capture with the native build\n", log);
  return ExitUsage;
}

}  // namespace demo
