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

// True for the option words of capture that take a value (--capture, --fps, --seconds, --size).
bool isCaptureOption(const std::string& word);
// Stores the value of one such option; false with a message naming the option when it is not valid.
bool setCaptureOption(CaptureOptions& options, const std::string& word, const char* value, std::string& error);

// The output's kind follows its name: .mp4, .mkv and .webm (any case) are videos, the rest folders.
bool isVideoName(const std::string& output);

}  // namespace demo
