#pragma once
// The command line of xmrender, read through the options table every program shares.

#include <optional>
#include <string>

namespace demo::xmrender {

struct Options {
  std::string input;
  std::string output;
  std::optional<double> seconds;  // without it: until the song loops, at most MaxSeconds
  bool info = false;
};

constexpr double MaxSeconds = 20 * 60;

// False with a message for the user on a wrong command line (--help and --version are answered
// before this is asked).
bool parseOptions(int argc, const char* const* argv, Options& options, std::string& error);
std::string usage(const std::string& program);

}  // namespace demo::xmrender
