#pragma once
// A program started through the shell with a pipe to its standard input, written with a time
// limit: a program that is alive but no longer reads is noticed instead of blocking the writer
// forever, and can be ended.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace demo {

class PipedCommand {
 public:
  enum class Write { Done, Closed, Stalled };

  PipedCommand() = default;
  ~PipedCommand();  // ends the program if it still runs
  PipedCommand(const PipedCommand&) = delete;
  PipedCommand& operator=(const PipedCommand&) = delete;

  // Starts `sh -c command`; false with the system's reason in `error`.
  bool start(const std::string& command, std::string& error);
  bool running() const { return pid_ > 0; }

  // Writes every byte. Closed: the program no longer takes input (it ended, or closed it).
  // Stalled: it took nothing for `patience`.
  Write write(const uint8_t* bytes, size_t count, std::chrono::milliseconds patience);
  // Closes its input and waits for it to end: the wait status (as from waitpid), -1 when none runs.
  int finish();
  // Ends it now (SIGKILL) and waits.
  void kill();

 private:
  pid_t pid_ = -1;
  int input_ = -1;  // the pipe's writing end
};

}  // namespace demo
