#pragma once
// The command line: the show's own switch ("win" anywhere in the text) and the extra modes, read
// through the options table every program shares (cli/option_table.h): "--opt VALUE" and
// "--opt=VALUE" alike, unknown "--" options refused. Words that are not options (including
// single-dash ones such as "-window") are the show's own command line.
//
//   demo [win]                      the show, windowed when the text contains "win"
//   demo --check [SCRIPT] [--files] compile only (default demo.run); with --files also load every file
//   demo --capture OUT [--fps N] [--seconds S] [--size WxH]   render headless into frames and sound
//   demo --no-dialogs ...           message boxes go to stderr
//   demo --verbose ...              let the system libraries' own chatter through
//   demo --help, --version
//
// To add an option: a field below, a row in the table in command_line.cpp, a line of usageText.

#include <string>

#include "capture/capture_options.h"

namespace demo {

// A window instead of full screen: the text contains "win" anywhere, case-sensitively, so "-window"
// and "/win" count and "WIN" does not.
bool wantsWindow(const char* commandLine);

struct CommandLine {
  enum class Mode { Show, Check, Capture, Help, Version, Invalid };
  Mode mode = Mode::Show;
  std::string program = "demo";  // as the user called it (showcase, ...)
  std::string error;             // why the line is Invalid
  bool noDialogs = false;
  bool verbose = false;
  bool checkFiles = false;  // --check --files
  std::string script = "demo.run";
  CaptureOptions capture;
  // The words that are not options of ours, joined with blanks: what the show's entry point sees
  // as its command line.
  std::string showText;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text, naming the program.
std::string usageText(const std::string& program);

}  // namespace demo
