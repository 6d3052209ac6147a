#include "options.h"

#include <cstdlib>
#include <vector>

#include "cli/option_table.h"

namespace demo::xmrender {

std::string usage(const std::string& program) {
  return "usage: " + program + " IN.xm OUT.wav [--seconds S] [--info]\n" +
         "       " + program + " IN.xm --info\n"
         "Plays an XM module through the show's player and mixer into a 44100 Hz 16-bit stereo WAV file,\n"
         "exactly as the show would play it. OUT.wav is replaced only once it is complete.\n"
         "  --seconds S  render S seconds (default: until the song returns to an order position it\n"
         "               has already played, at most 20 minutes)\n"
         "  --info       print the module's header facts\n"
         "  --help       this text\n"
         "  --version    the program's version\n"
         "Options take their value as the next word or after '=' (--seconds=30).\n";
}

bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
  cli::OptionTable table;
  table.flag("--info", options.info).value("--seconds", [&options](const std::string& text, std::string& why) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(value > 0) || value > MaxSeconds) {
      why = "needs a number of seconds above 0 and at most 1200";
      return false;
    }
    options.seconds = value;
    return true;
  });
  std::vector<std::string> files;
  if (!table.parse(argc, argv, files, error)) return false;
  if (files.size() > 2) {
    error = "too many arguments: " + files[2];
    return false;
  }
  if (!files.empty()) options.input = files[0];
  if (files.size() > 1) options.output = files[1];
  if (options.input.empty()) error = "no input file";
  else if (options.output.empty() && !options.info) error = "no output file";
  return error.empty();
}

}  // namespace demo::xmrender
