#pragma once
// `demo --capture OUT`: the show run headless on virtual time, every presented frame and the sound
// heard with it written to OUT (see capture/capture_session.h for the timing).

#include <cstdio>
#include <string>

#include "capture/capture_graphics.h"
#include "capture/capture_options.h"

namespace demo {

// The process status of capture beyond the show's own codes (a wrong command line is
// cli::ExitUsage, 2, as in every program).
inline constexpr int ExitCaptureFailed = 1;  // the output could not be written completely

// A show held by an `at` whose time can never come (its clock stands still) is captured this long,
// then stopped with ExitShowFailed: long enough to show the still picture, far shorter than the
// hours it would take to fill the sound file. Longer than start's pause, which never counts anyway
// since no frame is presented during it.
inline constexpr uint32_t FrozenClockSeconds = 3;

// Runs the show from scriptName with showText as its command line. Returns the show's exit code
// (0, or a start-up failure's code), or ExitCaptureFailed with the reason on `log`, where the
// progress goes too. Message boxes, the show's report among them, go to stderr.
int runCapture(const CaptureOptions& options, const std::string& showText, const char* scriptName = "demo.run",
               std::FILE* log = stderr);

// runCapture on the given graphics: the one part that differs between the builds
// (app/capture_headless.cpp, app/capture_direct3d8.cpp).
int runCaptureWith(const CaptureGraphics& graphics, const CaptureOptions& options, const std::string& showText,
                   const char* scriptName, std::FILE* log);

}  // namespace demo
