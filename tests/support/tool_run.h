#pragma once
// Running a program as a user would, through the shell, for the tests of whole processes.

#include <filesystem>
#include <string>

namespace demo::test {

struct ToolRun {
  int status = -1;     // the exit status; -1 when the process did not exit (a signal)
  int signal = 0;      // the signal that ended it, if any
  std::string output;  // stdout and stderr together
};

// Runs the shell command with stderr joined to stdout.
ToolRun runTool(const std::string& command);

// A text file's contents (empty when it cannot be read).
std::string textOf(const std::filesystem::path& path);

// The path as one shell word.
std::string quoted(const std::filesystem::path& path);

}  // namespace demo::test
