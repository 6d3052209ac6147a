#pragma once
// The command line: the show's own switch ("win" anywhere in the text) and the extra modes.
//
//   demo [win]              the show, windowed when the text contains "win"
//   demo --check [SCRIPT]   compile only (default demo.run) and report
//   demo --capture OUT [--fps N] [--seconds S] [--size WxH]   render headless into frames and sound
//   demo --no-dialogs ...   message boxes go to stderr
//   demo --help, --version

#include <string>

#include "capture/capture_options.h"

namespace demo {

// A window instead of full screen: the text contains "win" anywhere, case-sensitively, so "-window"
// and "/win" count and "WIN" does not.
bool wantsWindow(const char* commandLine);

struct CommandLine {
  enum class Mode { Show, Check, Capture, Help, Version, Invalid };
  Mode mode = Mode::Show;
  std::string error;  // why the line is Invalid
  bool noDialogs = false;
  std::string script = "demo.run";
  CaptureOptions capture;
  // The words that are not options of ours, joined with blanks: what the show's entry point sees
  // as its command line.
  std::string showText;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text.
const char* usageText();

}  // namespace demo
