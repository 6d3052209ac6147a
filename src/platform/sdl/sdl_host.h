#pragma once
// The Host on SDL2: the show's one window (with an OpenGL surface, to which the graphics backend
// attaches its context), its events, the cursor and message boxes.

#include "platform/host.h"

struct SDL_Window;

namespace demo {

struct SdlHostOptions {
  // Every message box goes to stderr instead (the --no-dialogs switch): under a virtual display
  // SDL's box would wait for a click that never comes.
  bool noDialogs = false;
};

class SdlHost final : public Host {
 public:
  explicit SdlHost(SdlHostOptions options = {});
  ~SdlHost() override;
  SdlHost(const SdlHost&) = delete;
  SdlHost& operator=(const SdlHost&) = delete;

  // Windowed: a 640 x 480 window at (0, 0). Full screen: the desktop's own mode, so the drawable
  // may be larger than asked and the graphics backend scales (SDL_GL_GetDrawableSize tells).
  // False without a display, where SDL would only give its invisible "offscreen" or "dummy" window.
  bool createWindow(const char* title, int width, int height, bool windowed) override;
  void destroyWindow() override;
  // The SDL_Window*, or null.
  WindowHandle windowHandle() override;

  // Window close and SDL's quit event (a signal) are CloseRequest; Escape is KeyDown KeyEscape.
  // The Quit that postQuit() queues comes once nothing else is pending, like WM_QUIT.
  bool pollEvent(HostEvent& event) override;
  void postQuit() override;

  void showCursor(bool show) override;
  void messageBox(const char* text, const char* caption, MessageIcon icon) override;
  void sleep(uint32_t milliseconds) override;
  std::string executablePath() override;
  void setTitle(const char* title) override;

  // Whether SDL's video reaches a display a window would appear on.
  bool hasDisplay();

 private:
  bool initVideo();

  SdlHostOptions options_;
  bool videoTried_ = false;
  bool videoReady_ = false;
  bool quitPosted_ = false;
  SDL_Window* window_ = nullptr;
};

// Windows' virtual-key code for an SDL key: letters as their upper-case character; Escape, Return,
// Tab, Backspace, Space and the digits have the same numbers in both; other keys keep SDL's code,
// which lies far above every virtual-key code.
int virtualKey(int sdlKeycode);

}  // namespace demo
