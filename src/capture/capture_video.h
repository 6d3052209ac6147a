#pragma once
// The video kind of capture output (a name ending in .mp4, .mkv or .webm), which only the native
// build has: it pipes into the ffmpeg command.

#include <cstdint>
#include <memory>
#include <string>

#include "capture/capture_output.h"

namespace demo {

// After the checks that can be made before the show runs; null with the reason in `error`.
std::unique_ptr<CaptureOutput> makeVideoOutput(const CaptureOptions& options, uint32_t sampleRate, std::string& error);

}  // namespace demo
