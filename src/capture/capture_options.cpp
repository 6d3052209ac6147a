#include "capture/capture_options.h"

#include <strings.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace demo {
namespace {

// A whole decimal number in [low, high] and nothing else: "60" but not "60fps", "-1" or "".
bool parseUnsigned(const char* text, uint32_t low, uint32_t high, uint32_t& value) {
  if (!text || *text < '0' || *text > '9') return false;
  char* end = nullptr;
  errno = 0;
  const unsigned long parsed = std::strtoul(text, &end, 10);
  if (errno != 0 || *end != '\0' || parsed < low || parsed > high) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

bool parseSize(const char* text, uint32_t& width, uint32_t& height) {
  const char* cross = text ? std::strpbrk(text, "xX") : nullptr;
  if (!cross) return false;
  const std::string w(text, cross);
  return parseUnsigned(w.c_str(), 1, CaptureOptions::MaxSide, width) &&
         parseUnsigned(cross + 1, 1, CaptureOptions::MaxSide, height);
}

bool parseSeconds(const char* text, double& seconds) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const double parsed = std::strtod(text, &end);
  if (*end != '\0' || !std::isfinite(parsed) || parsed <= 0 || parsed > CaptureOptions::MaxSeconds) return false;
  seconds = parsed;
  return true;
}

// What a valid value of the option looks like, for the message that refuses one.
std::string expectedValue(const std::string& word) {
  if (word == "--capture") return "a folder or a .mp4, .mkv or .webm file name";
  if (word == "--fps") return "a whole number of frames per second from 1 to " + std::to_string(CaptureOptions::MaxFps);
  if (word == "--seconds")
    return "a number of seconds above 0 and up to " + std::to_string(static_cast<int>(CaptureOptions::MaxSeconds));
  return "WIDTHxHEIGHT, each from 1 to " + std::to_string(CaptureOptions::MaxSide);
}

}  // namespace

std::optional<uint64_t> CaptureOptions::frameLimit() const {
  if (!seconds) return std::nullopt;
  const auto frames = static_cast<uint64_t>(std::llround(*seconds * fps));
  return frames == 0 ? 1 : frames;
}

bool setCaptureOption(CaptureOptions& options, const std::string& word, const std::string& value, std::string& error) {
  const char* text = value.c_str();
  bool valid = false;
  if (word == "--capture") {
    // "--capture --fps" is a forgotten name, not a folder called "--fps".
    valid = !value.empty() && !value.starts_with("--");
    if (valid) options.output = value;
  } else if (word == "--fps") {
    valid = parseUnsigned(text, 1, CaptureOptions::MaxFps, options.fps);
  } else if (word == "--seconds") {
    double seconds = 0;
    valid = parseSeconds(text, seconds);
    if (valid) options.seconds = seconds;
  } else if (word == "--size") {
    valid = parseSize(text, options.width, options.height);
  }
  if (!valid) error = "needs " + expectedValue(word);
  return valid;
}

std::string captureOptionsProblem(const CaptureOptions& options) {
  // 4:2:0 chroma, which players expect, halves both sides.
  if (isVideoName(options.output) && (options.width % 2 != 0 || options.height % 2 != 0))
    return "--size " + std::to_string(options.width) + "x" + std::to_string(options.height) +
           ": a video needs an even width and height";
  return {};
}

bool isVideoName(const std::string& output) {
  for (const char* extension : {".mp4", ".mkv", ".webm"}) {
    const size_t length = std::strlen(extension);
    if (output.size() > length && strcasecmp(output.c_str() + output.size() - length, extension) == 0) return true;
  }
  return false;
}

}  // namespace demo
