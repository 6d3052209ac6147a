#include "capture/capture_output.h"

#include "capture/capture_video.h"
#include "capture/png_folder_output.h"

namespace demo {

std::unique_ptr<CaptureOutput> makeCaptureOutput(const CaptureOptions& options, uint32_t sampleRate,
                                                 std::string& error) {
  if (isVideoName(options.output)) return makeVideoOutput(options, sampleRate, error);
  auto folder = std::make_unique<PngFolderOutput>(options.output, options.width, options.height, sampleRate);
  if (!folder->prepare()) {
    error = folder->error();
    return nullptr;
  }
  return folder;
}

}  // namespace demo
