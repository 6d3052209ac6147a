#pragma once
// The Host on Win32: the window class "PLIX", the one window, the message queue, the cursor,
// message boxes, Sleep and GetModuleFileNameA.
//
// The window procedure's part of the show lives in the application, which sees messages as
// HostEvents: a WM_KEYDOWN is taken from the queue before it would be dispatched (the show's window
// procedure only ever looks at it), and a close request (WM_CLOSE, which DefWindowProcA would turn
// into DestroyWindow) is held back and handed over instead; the application then destroys the window
// and does what WM_DESTROY does.

#include "platform/host.h"

namespace demo {

struct Win32HostOptions {
  // Every message box goes to stderr instead: under a virtual display nobody clicks it away.
  bool noDialogs = false;
};

class Win32Host final : public Host {
 public:
  explicit Win32Host(Win32HostOptions options = {}) : options_(options) {}
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  // A WS_OVERLAPPEDWINDOW | WS_VISIBLE window at (0, 0) of the given outer size, windowed or not:
  // full screen is the device's business.
  bool createWindow(const char* title, int width, int height, bool windowed) override;
  void destroyWindow() override;
  // The HWND, or null.
  WindowHandle windowHandle() override { return window_; }

  bool pollEvent(HostEvent& event) override;
  void postQuit() override;

  void showCursor(bool show) override;
  void messageBox(const char* text, const char* caption, MessageIcon icon) override;
  void sleep(uint32_t milliseconds) override;
  std::string executablePath() override;
  void setTitle(const char* title) override;

  // The window procedure's record of a close request, for the next pollEvent.
  void noteCloseRequest() { closeRequested_ = true; }

 private:
  Win32HostOptions options_;
  void* window_ = nullptr;  // HWND
  bool closeRequested_ = false;
};

}  // namespace demo
