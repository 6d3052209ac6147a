#include "app/command_line.h"

#include <cstring>

namespace demo {

bool wantsWindow(const char* commandLine) { return std::strstr(commandLine, "win") != nullptr; }

namespace {

CommandLine invalid(std::string error) {
  CommandLine result;
  result.mode = CommandLine::Mode::Invalid;
  result.error = std::move(error);
  return result;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  bool captureValues = false;  // --fps, --seconds or --size seen
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (isCaptureOption(word)) {
      std::string error;
      if (!setCaptureOption(result.capture, word, i + 1 < argc ? argv[++i] : nullptr, error)) return invalid(error);
      if (word == "--capture")
        result.mode = CommandLine::Mode::Capture;
      else
        captureValues = true;
    } else if (word == "--check") {
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
  if (captureValues && result.mode != CommandLine::Mode::Capture && result.mode != CommandLine::Mode::Help &&
      result.mode != CommandLine::Mode::Version)
    return invalid("--fps, --seconds and --size go with --capture OUT");
  return result;
}

const char* usageText() {
  return "usage: demo [win]              play the show (windowed when the command line contains \"win\")\n"
         "       demo --check [SCRIPT]   compile SCRIPT (default demo.run) and report errors as FILE:LINE: TEXT\n"
         "       demo --capture OUT [--fps N] [--seconds S] [--size WxH]\n"
         "                               render the show headless into OUT: a folder of PNG frames and\n"
         "                               audio.wav, or a video through ffmpeg when OUT ends in .mp4, .mkv\n"
         "                               or .webm (defaults: 60 fps, until the show ends, 640x480); the\n"
         "                               Windows build draws with Direct3D 8 and writes folders only\n"
         "       demo --no-dialogs ...   print message boxes on stderr instead of showing them\n"
         "       demo --help | --version\n";
}

}  // namespace demo
