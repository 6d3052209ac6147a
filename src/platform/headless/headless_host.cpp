#include "platform/headless/headless_host.h"

#include <cstdio>

#include "archive/executable_path.h"

namespace demo {

bool HeadlessHost::createWindow(const char* title, int width, int height, bool isWindowed) {
  if (failCreateWindow) return false;
  windowTitle = title;
  windowWidth = width;
  windowHeight = height;
  windowed = isWindowed;
  windowOpen_ = true;
  ++windowsCreated;
  return true;
}

void HeadlessHost::destroyWindow() {
  if (!windowOpen_) return;
  windowOpen_ = false;
  ++windowsDestroyed;
}

bool HeadlessHost::pollEvent(HostEvent& event) {
  if (events_.empty() && onIdle) onIdle(*this);
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

void HeadlessHost::messageBox(const char* text, const char* caption, MessageIcon icon) {
  messageBoxes.push_back({text, caption, icon});
  if (printMessageBoxes) std::fprintf(stderr, "%s: %s\n", caption, text);
}

void HeadlessHost::sleep(uint32_t milliseconds) {
  sleeps.push_back(milliseconds);
  virtualTime_ += milliseconds;
}

std::string HeadlessHost::executablePath() { return demo::executablePath(); }

}  // namespace demo
