#include "capture/capture_host.h"

namespace demo {

bool CaptureHost::createWindow(const char* title, int width, int height, bool windowed) {
  if (window_ && !window_->createWindow(title, width, height, windowed)) return false;
  return HeadlessHost::createWindow(title, width, height, windowed);
}

void CaptureHost::destroyWindow() {
  if (window_) window_->destroyWindow();
  HeadlessHost::destroyWindow();
}

WindowHandle CaptureHost::windowHandle() {
  if (!window_) return HeadlessHost::windowHandle();
  return HeadlessHost::windowHandle() ? window_->windowHandle() : nullptr;
}

bool CaptureHost::pollEvent(HostEvent& event) {
  // The real window's quit never comes: only the virtual queue's postQuit ends the pump.
  HostEvent real;
  while (window_ && window_->pollEvent(real))
    if (real.type == HostEvent::Type::KeyDown || real.type == HostEvent::Type::CloseRequest) queueEvent(real);
  return HeadlessHost::pollEvent(event);
}

}  // namespace demo
