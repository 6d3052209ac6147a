#include "capture/interrupt_signals.h"

#include <atomic>
#include <csignal>

namespace demo {
namespace {

// Atomic rather than volatile: the signal may land on the PNG writer's thread while the capture
// loop reads the flag on the main one.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only touch lock-free atomics");

extern "C" void onSignal(int signal) {
  caught = signal;
  // The next one is not ours to soften: a capture that does not stop can still be ended.
  std::signal(signal, SIG_DFL);
}

using Handler = void (*)(int);
Handler previousInt = SIG_DFL;
Handler previousTerm = SIG_DFL;

// A signal the process was started to ignore (a shell's background job ignores SIGINT) stays
// ignored.
Handler catchUnlessIgnored(int signal) {
  const Handler previous = std::signal(signal, onSignal);
  if (previous == SIG_IGN) std::signal(signal, SIG_IGN);
  return previous;
}

}  // namespace

InterruptSignals::InterruptSignals() {
  caught = 0;
  previousInt = catchUnlessIgnored(SIGINT);
  previousTerm = catchUnlessIgnored(SIGTERM);
}

InterruptSignals::~InterruptSignals() {
  std::signal(SIGINT, previousInt == SIG_ERR ? SIG_DFL : previousInt);
  std::signal(SIGTERM, previousTerm == SIG_ERR ? SIG_DFL : previousTerm);
}

int InterruptSignals::received() { return caught.load(); }

const char* InterruptSignals::name(int signal) {
  if (signal == SIGINT) return "SIGINT";
  if (signal == SIGTERM) return "SIGTERM";
  return "a signal";
}

}  // namespace demo
