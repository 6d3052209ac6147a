#include "capture/capture_video.h"

#include <filesystem>
#include <system_error>

#include "capture/external_command.h"
#include "capture/video_output.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

// What stands in the way of a video file of this name; empty when nothing does.
std::string videoProblem(const CaptureOptions& options) {
  std::error_code error;
  const fs::path path(options.output);
  if (fs::is_directory(path, error)) return options.output + " is a folder: a video needs a file name";
  const fs::path parent = path.parent_path();
  if (!parent.empty() && !fs::is_directory(parent, error))
    return options.output + ": the folder " + parent.string() + " does not exist";
  return captureOptionsProblem(options);
}

}  // namespace

std::unique_ptr<CaptureOutput> makeVideoOutput(const CaptureOptions& options, uint32_t sampleRate,
                                               std::string& error) {
  error = videoProblem(options);
  if (!error.empty()) return nullptr;
  std::string ffmpeg = findOnPath("ffmpeg");
  if (ffmpeg.empty()) {
    error = "capturing into " + options.output +
            " needs the ffmpeg command, which is not on PATH: install ffmpeg, or capture into a folder";
    return nullptr;
  }
  return std::make_unique<VideoOutput>(options.output, std::move(ffmpeg), options, sampleRate);
}

}  // namespace demo
