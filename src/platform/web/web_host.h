#pragma once
// The page as the show's window: the canvas is the window, the document's key events are its
// messages (F toggles full screen on the way), message boxes are an overlay on the page, and the
// cursor hides over the canvas.
//
// Sleeping: Sleep gives the rest of the time slice away, which in a browser only returning from the
// frame callback does. A sleep of up to a frame therefore returns at once (the browser's frame
// pacing stands in for the frame step's Sleep(1)); a longer one (start's pause) waits on the clock,
// holding the page as Sleep holds the window.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "platform/host.h"

namespace demo {

class WebHost final : public Host {
 public:
  static constexpr uint32_t LongestYieldingSleep = 17;  // milliseconds: a frame at 60 Hz

  // canvas: the CSS selector of the page's canvas.
  explicit WebHost(std::string canvas = "#canvas") : canvas_(std::move(canvas)) {}
  ~WebHost() override;
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  // The canvas takes the size; false when the page has no such canvas.
  bool createWindow(const char* title, int width, int height, bool windowed) override;
  void destroyWindow() override;
  // The canvas's selector (a C string), which the WebGL backend draws on; null without a window.
  WindowHandle windowHandle() override;

  bool pollEvent(HostEvent& event) override;
  void postQuit() override { events_.push_back({HostEvent::Type::Quit, 0}); }

  void showCursor(bool show) override;
  // Shows the box on the page and returns: the page cannot wait for a click without returning to
  // the browser. Each box replaces the one before.
  void messageBox(const char* text, const char* caption, MessageIcon icon) override;
  void sleep(uint32_t milliseconds) override;
  // Called every WhileSleepingPeriod milliseconds of a long sleep (the output thread's poll period).
  void setWhileSleeping(std::function<void()> work) { whileSleeping_ = std::move(work); }
  static constexpr double WhileSleepingPeriod = 5;
  std::string executablePath() override;

  // From the document's key-down handler: true when the browser should do nothing more with it.
  bool keyDown(const char* key, uint32_t keyCode, bool modified);

 private:
  void toggleFullscreen();

  std::string canvas_;
  bool windowOpen_ = false;
  std::deque<HostEvent> events_;
  std::function<void()> whileSleeping_;
};

}  // namespace demo
