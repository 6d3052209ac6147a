#pragma once
// The command line of xmrender.

#include <optional>
#include <string>

namespace demo::xmrender {

struct Options {
  std::string input;
  std::string output;
  std::optional<double> seconds;  // without it: until the song loops, at most MaxSeconds
  bool info = false;
  bool help = false;
  bool version = false;
};

constexpr double MaxSeconds = 20 * 60;

// Throws std::runtime_error with a message for the user on a bad command line.
Options parseOptions(int argc, char** argv);
const char* usage();

}  // namespace demo::xmrender
