#include "app/command_line.h"

#include <cstring>
#include <vector>

#include "cli/option_table.h"
#include "cli/program.h"

namespace demo {

bool wantsWindow(const char* commandLine) { return std::strstr(commandLine, "win") != nullptr; }

namespace {

// What the options set besides the command line's own fields.
struct Seen {
  bool check = false;
  bool checkScript = false;  // --check SCRIPT or --check=SCRIPT
  bool capture = false;
  bool captureValues = false;  // --fps, --seconds or --size
};

cli::OptionTable optionTable(CommandLine& line, Seen& seen) {
  cli::OptionTable table;
  table.singleDashWordsArePlain()
      .optionalValue("--check",
                     [&](const char* script, std::string& error) {
                       seen.check = true;
                       if (script && !*script) {
                         error = "needs a script name";
                         return false;
                       }
                       if (script) line.script = script;
                       seen.checkScript = script != nullptr;
                       return true;
                     })
      .flag("--files", line.checkFiles)
      .flag("--no-dialogs", line.noDialogs)
      .flag("--verbose", line.verbose);
  for (const char* name : CaptureOptionNames) {
    table.value(name, [&line, &seen, name](const std::string& value, std::string& error) {
      (std::strcmp(name, "--capture") == 0 ? seen.capture : seen.captureValues) = true;
      return setCaptureOption(line.capture, name, value, error);
    });
  }
  return table;
}

// The options that make no sense together; empty when the line is consistent.
std::string conflict(const CommandLine& line, const Seen& seen) {
  if (seen.check && seen.capture) return "give only one of --check and --capture";
  if (seen.captureValues && !seen.capture) return "--fps, --seconds and --size go with --capture OUT";
  if (line.checkFiles && !seen.check) return "--files goes with --check";
  if (seen.capture) return captureOptionsProblem(line.capture);
  return {};
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  line.program = cli::programName(argc > 0 ? argv[0] : nullptr, "demo");
  if (cli::asksForHelp(argc, argv)) {
    line.mode = CommandLine::Mode::Help;
    return line;
  }
  if (cli::asksForVersion(argc, argv)) {
    line.mode = CommandLine::Mode::Version;
    return line;
  }
  Seen seen;
  std::vector<std::string> words;
  std::string error;
  if (optionTable(line, seen).parse(argc, argv, words, error)) error = conflict(line, seen);
  if (!error.empty()) {
    line.mode = CommandLine::Mode::Invalid;
    line.error = error;
    return line;
  }
  // "--check --files other.run": the script may follow the options; any other word would be
  // ignored by a check, so it is refused rather than leaving the user to think it counted.
  if (seen.check && !words.empty()) {
    if (!seen.checkScript && words.size() == 1) {
      line.script = words[0];
      words.clear();
    } else {
      line.mode = CommandLine::Mode::Invalid;
      line.error = "--check reads one script: \"" + words.back() + "\" is one word too many";
      return line;
    }
  }
  for (const std::string& word : words) line.showText += (line.showText.empty() ? "" : " ") + word;
  line.mode = seen.check     ? CommandLine::Mode::Check
              : seen.capture ? CommandLine::Mode::Capture
                             : CommandLine::Mode::Show;
  return line;
}

std::string usageText(const std::string& program) {
  const std::string p = "       " + program;
  return "usage: " + program + " [win]\n"
         "           play the show of the current folder (windowed when the command line contains \"win\")\n" +
         p + " --check [SCRIPT] [--files]\n"
         "           compile SCRIPT (default demo.run) and report errors as FILE:LINE: TEXT; with --files also\n"
         "           open and load every file it names, as the show would\n" +
         p + " --capture OUT [--fps N] [--seconds S] [--size WxH]\n"
         "           render the show headless into OUT: a folder of PNG frames and audio.wav, or a video\n"
         "           through ffmpeg when OUT ends in .mp4, .mkv or .webm (defaults: 60 fps, until the show\n"
         "           ends, 640x480); the Windows build draws with Direct3D 8 and writes folders only\n" +
         p + " --no-dialogs ...\n"
         "           print message boxes on stderr instead of showing them\n" +
         p + " --verbose ...\n"
         "           let the messages of the sound and window libraries through\n" +
         p + " --help | --version\n"
         "Options take their value as the next word or after '=' (--fps=30).\n";
}

}  // namespace demo
