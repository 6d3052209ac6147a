#pragma once
// Running another program through the shell: finding it on PATH first (so that its absence is a
// clear message and not a shell's "not found"), quoting file names, and saying how it ended.

#include <string>

namespace demo {

// The full path of an executable named `name` in one of PATH's folders, or empty.
std::string findOnPath(const std::string& name);
// The text as one shell word, whatever characters it holds.
std::string shellQuote(const std::string& text);
// Empty when a wait status (from pclose or system) is a clean exit, else what went wrong, naming
// the program.
std::string describeExit(const std::string& program, int status);

}  // namespace demo
