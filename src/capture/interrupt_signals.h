#pragma once
// SIGINT (Ctrl-C) and SIGTERM during a capture: instead of ending the process with half-written
// files, the signal is noted, the capture stops the show at its next frame and completes (a folder)
// or removes (a video) its output, and the process exits with 128 + the signal's number (130,
// 143). A second signal of the same kind ends the process at once, as it would without us.
//
// A signal handler can reach nothing but a static flag, so the one received lives here, process
// wide; only one capture runs in a process.

namespace demo {

class InterruptSignals {
 public:
  InterruptSignals();   // catches both signals, forgetting any received before
  ~InterruptSignals();  // restores what was there
  InterruptSignals(const InterruptSignals&) = delete;
  InterruptSignals& operator=(const InterruptSignals&) = delete;

  // The signal received since construction, or 0.
  static int received();
  // "SIGINT", "SIGTERM".
  static const char* name(int signal);
  static int exitStatus(int signal) { return 128 + signal; }
};

}  // namespace demo
