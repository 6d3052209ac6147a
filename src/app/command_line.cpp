#include "app/command_line.h"

#include <cstring>

namespace demo {

bool wantsWindow(const char* commandLine) { return std::strstr(commandLine, "win") != nullptr; }

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--check") {
      result.mode = CommandLine::Mode::Check;
      if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) result.script = argv[++i];
    } else if (word == "--no-dialogs") {
      result.noDialogs = true;
    } else if (word == "--help" || word == "-h") {
      result.mode = CommandLine::Mode::Help;
    } else if (word == "--version") {
      result.mode = CommandLine::Mode::Version;
    } else {
      if (!result.showText.empty()) result.showText += ' ';
      result.showText += word;
    }
  }
  return result;
}

const char* usageText() {
  return "usage: demo [win]              play the show (windowed when the command line contains \"win\")\n"
         "       demo --check [SCRIPT]   compile SCRIPT (default demo.run) and report errors as FILE:LINE: TEXT\n"
         "       demo --no-dialogs ...   print message boxes on stderr instead of showing them\n"
         "       demo --help | --version\n";
}

}  // namespace demo
