#pragma once
// The Host without a display, for tests and capture: a virtual window, an event queue its owner
// fills (Escape, a close request), message boxes printed to stderr and remembered, a virtual clock
// that sleep advances, and the cursor's visibility remembered.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace demo {

class HeadlessHost : public Host {
 public:
  struct MessageBoxRecord {
    std::string text;
    std::string caption;
    MessageIcon icon;
  };

  bool createWindow(const char* title, int width, int height, bool windowed) override;
  void destroyWindow() override;
  WindowHandle windowHandle() override { return windowOpen_ ? static_cast<WindowHandle>(&window_) : nullptr; }

  bool pollEvent(HostEvent& event) override;
  void postQuit() override { queueEvent({HostEvent::Type::Quit, 0}); }

  void showCursor(bool show) override { cursorChanges.push_back(show); }
  void messageBox(const char* text, const char* caption, MessageIcon icon) override;
  void sleep(uint32_t milliseconds) override;

  std::string executablePath() override;
  void setTitle(const char* text) override { title = text; }

  // For the owner.
  void queueEvent(const HostEvent& event) { events_.push_back(event); }
  void queueKey(int key) { queueEvent({HostEvent::Type::KeyDown, key}); }
  void queueCloseRequest() { queueEvent({HostEvent::Type::CloseRequest, 0}); }
  bool windowOpen() const { return windowOpen_; }
  uint64_t virtualTime() const { return virtualTime_; }
  // Called on every poll that finds the queue empty, before answering: lets a test queue an event at
  // a chosen moment of the show (after so many frames, at so much virtual time).
  std::function<void(HeadlessHost&)> onIdle;

  // What happened, for tests.
  bool failCreateWindow = false;
  bool printMessageBoxes = true;  // to stderr
  std::vector<MessageBoxRecord> messageBoxes;
  std::vector<bool> cursorChanges;
  std::vector<uint32_t> sleeps;
  std::string title;  // as last set
  int windowsCreated = 0;
  int windowsDestroyed = 0;
  std::string windowTitle;
  int windowWidth = 0;
  int windowHeight = 0;
  bool windowed = false;

 private:
  std::deque<HostEvent> events_;
  bool windowOpen_ = false;
  char window_ = 0;  // its address is the virtual window's handle
  uint64_t virtualTime_ = 0;
};

}  // namespace demo
