#pragma once
// What `demo --capture OUT [--fps N] [--seconds S] [--size WxH]` asks for, and the checks of each
// value, so that a mistyped option is refused before anything runs.

#include <cstdint>
#include <optional>
#include <string>

namespace demo {

struct CaptureOptions {
  static constexpr uint32_t MaxFps = 1000;
  static constexpr uint32_t MaxSide = 8192;
  static constexpr double MaxSeconds = 24 * 3600.0;

  std::string output;  // a folder, or a video file ending in .mp4, .mkv or .webm
  uint32_t fps = 60;
  std::optional<double> seconds;  // unset: until the show ends
  uint32_t width = 640;
  uint32_t height = 480;

  // The number of frames --seconds allows (at least one), or none without a limit.
  std::optional<uint64_t> frameLimit() const;
};

// The option words of capture, all of which take a value.
inline constexpr const char* CaptureOptionNames[] = {"--capture", "--fps", "--seconds", "--size"};
// Stores the value of one such option; false with what a valid value looks like in `error`
// ("needs ...").
bool setCaptureOption(CaptureOptions& options, const std::string& word, const std::string& value, std::string& error);
// What makes the options unusable together, or empty: a video needs an even width and height.
std::string captureOptionsProblem(const CaptureOptions& options);

// The output's kind follows its name: .mp4, .mkv and .webm (any case) are videos, the rest folders.
bool isVideoName(const std::string& output);

}  // namespace demo
