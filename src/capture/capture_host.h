#pragma once
// The headless host as capture needs it: its sleep advances virtual time and tells the capture,
// which lets the music play on under the picture on screen when the show sleeps longer than a
// frame; a message box (always on stderr) first ends the progress bar's line.
//
// A device that must present into a real window (Direct3D 8) gets the window of a real host, whose
// messages are pumped on every poll: closing it or pressing Escape there stops the capture as
// Escape does. Time, boxes and the event queue stay virtual.

#include <functional>

#include "platform/headless/headless_host.h"

namespace demo {

class CaptureHost final : public HeadlessHost {
 public:
  // `window`, when given, must outlive this host.
  explicit CaptureHost(Host* window = nullptr) : window_(window) {}

  bool createWindow(const char* title, int width, int height, bool windowed) override;
  void destroyWindow() override;
  WindowHandle windowHandle() override;
  bool pollEvent(HostEvent& event) override;

  void sleep(uint32_t milliseconds) override {
    HeadlessHost::sleep(milliseconds);
    if (onSleep) onSleep(milliseconds);
  }
  void messageBox(const char* text, const char* caption, MessageIcon icon) override {
    if (beforeMessage) beforeMessage();
    HeadlessHost::messageBox(text, caption, icon);
  }

  std::function<void(uint32_t)> onSleep;
  std::function<void()> beforeMessage;

 private:
  Host* window_;
};

}  // namespace demo
