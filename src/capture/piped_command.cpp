#include "capture/piped_command.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace demo {

PipedCommand::~PipedCommand() {
  if (running()) kill();
}

bool PipedCommand::start(const std::string& command, std::string& error) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    error = std::string("cannot make a pipe: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], 0);  // dup2 clears close-on-exec on 0
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  const int failed = posix_spawn(&pid_, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[0]);
  if (failed != 0) {
    close(ends[1]);
    pid_ = -1;
    error = std::string("cannot start the shell: ") + std::strerror(failed);
    return false;
  }
  input_ = ends[1];
  // Never block in write(): poll() measures how long the program takes nothing.
  fcntl(input_, F_SETFL, fcntl(input_, F_GETFL) | O_NONBLOCK);
  return true;
}

PipedCommand::Write PipedCommand::write(const uint8_t* bytes, size_t count, std::chrono::milliseconds patience) {
  if (input_ < 0) return Write::Closed;
  while (count > 0) {
    const ssize_t written = ::write(input_, bytes, count);
    if (written > 0) {
      bytes += written;
      count -= static_cast<size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) return Write::Closed;  // EPIPE: nobody reads any more
    pollfd wait{input_, POLLOUT, 0};
    const int ready = poll(&wait, 1, static_cast<int>(patience.count()));
    if (ready == 0) return Write::Stalled;
    if (ready < 0 && errno != EINTR) return Write::Closed;
  }
  return Write::Done;
}

int PipedCommand::finish() {
  if (input_ >= 0) close(input_);
  input_ = -1;
  if (!running()) return -1;
  int status = -1;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  return status;
}

void PipedCommand::kill() {
  if (running()) ::kill(pid_, SIGKILL);
  finish();
}

}  // namespace demo
