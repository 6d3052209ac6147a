#pragma once
// The command line: the show's own switch ("win" anywhere in the text) and the extra modes.
//
//   demo [win]              the show, windowed when the text contains "win"
//   demo --check [SCRIPT]   compile only (default demo.run) and report
//   demo --no-dialogs ...   message boxes go to stderr
//   demo --help, --version

#include <string>

namespace demo {

// A window instead of full screen: the text contains "win" anywhere, case-sensitively, so "-window"
// and "/win" count and "WIN" does not.
bool wantsWindow(const char* commandLine);

struct CommandLine {
  enum class Mode { Show, Check, Help, Version };
  Mode mode = Mode::Show;
  bool noDialogs = false;
  std::string script = "demo.run";
  // The words that are not options of ours, joined with blanks: what the show's entry point sees
  // as its command line.
  std::string showText;
};

CommandLine parseCommandLine(int argc, const char* const* argv);

// The --help text.
const char* usageText();

}  // namespace demo
