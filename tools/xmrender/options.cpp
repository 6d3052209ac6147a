#include "options.h"

#include <cstdlib>
#include <stdexcept>

namespace demo::xmrender {
namespace {

double parseSeconds(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value > 0) || value > MaxSeconds) {
    throw std::runtime_error("--seconds wants a number of seconds above 0 and at most 1200, not '" + text + "'");
  }
  return value;
}

}  // namespace

const char* usage() {
  return "usage: xmrender IN.xm OUT.wav [--seconds S] [--info]\n"
         "       xmrender IN.xm --info\n"
         "Plays an XM module through the show's player and mixer into a 44100 Hz 16-bit stereo WAV file,\n"
         "exactly as the show would play it.\n"
         "  --seconds S  render S seconds (default: until the song returns to an order position it\n"
         "               has already played, at most 20 minutes)\n"
         "  --info       print the module's header facts\n"
         "  --help       this text\n"
         "  --version    the program's version\n";
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--info") {
      options.info = true;
    } else if (arg == "--seconds") {
      if (i + 1 >= argc) throw std::runtime_error("--seconds needs a value");
      options.seconds = parseSeconds(argv[++i]);
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw std::runtime_error("unknown option " + arg);
    } else if (options.input.empty()) {
      options.input = arg;
    } else if (options.output.empty()) {
      options.output = arg;
    } else {
      throw std::runtime_error("too many arguments: " + arg);
    }
  }
  if (options.help || options.version) return options;
  if (options.input.empty()) throw std::runtime_error("no input file");
  if (options.output.empty() && !options.info) throw std::runtime_error("no output file");
  return options;
}

}  // namespace demo::xmrender
