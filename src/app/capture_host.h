#pragma once
// The headless host as capture needs it: its sleep advances virtual time and tells the capture,
// which lets the music play on under the picture on screen when the show sleeps longer than a
// frame; a message box (always on stderr) first ends the progress bar's line.

#include <functional>

#include "platform/headless/headless_host.h"

namespace demo {

class CaptureHost final : public HeadlessHost {
 public:
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
};

}  // namespace demo
