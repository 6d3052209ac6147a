#include "capture/external_command.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace demo {

std::string findOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  // The shell's own search uses a default when PATH is unset.
  const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t begin = 0;
  for (;;) {
    const size_t end = folders.find(':', begin);
    std::string folder = folders.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
    if (folder.empty()) folder = ".";  // an empty entry means the current folder
    const std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string::npos) return {};
    begin = end + 1;
  }
}

std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string describeExit(const std::string& program, int status) {
  if (status == -1) return program + " could not be started";
  if (WIFSIGNALED(status)) return program + " was killed by signal " + std::to_string(WTERMSIG(status));
  if (!WIFEXITED(status)) return program + " ended abnormally";
  const int code = WEXITSTATUS(status);
  if (code == 0) return {};
  if (code == 127) return program + " could not be run (the shell did not find it)";
  return program + " failed with exit status " + std::to_string(code);
}

}  // namespace demo
