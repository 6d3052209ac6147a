// The Windows build captures into folders only: it has no ffmpeg pipe.
#include "capture/capture_video.h"

namespace demo {

std::unique_ptr<CaptureOutput> makeVideoOutput(const CaptureOptions& options, uint32_t, std::string& error) {
  error = "capturing into " + options.output +
          " (a video) needs the native build; the Windows build captures into a folder of frames and audio.wav";
  return nullptr;
}

}  // namespace demo
