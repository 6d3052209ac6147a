#pragma once
// The windowing and process seam: the one window, its events, the cursor, message boxes, sleeping
// and the executable's own path. Backends: SDL2 (the show), headless (tests and capture, whose
// sleep advances virtual time) and Win32.

#include <cstdint>
#include <string>

#include "platform/render_types.h"

namespace demo {

enum class MessageIcon { Error, Information };

// One event taken from the host's queue.
struct HostEvent {
  enum class Type {
    Quit,          // the quit message posted by postQuit(); the pump returns on it
    CloseRequest,  // the window's close box; handled by destroying the window
    KeyDown,       // a key went down; key holds its code (KeyEscape for Escape)
    Other,         // anything else the backend dispatched itself
  };
  Type type = Type::Other;
  int key = 0;
};

// Virtual-key codes, as Windows numbers them; the other backends translate to them.
constexpr int KeyEscape = 27;
constexpr int KeySpace = 0x20;
constexpr int KeyPageUp = 0x21;
constexpr int KeyPageDown = 0x22;
constexpr int KeyHome = 0x24;
constexpr int KeyLeft = 0x25;
constexpr int KeyRight = 0x27;
constexpr int KeyL = 'L';

class Host {
 public:
  virtual ~Host() = default;

  // Creates the one window (title, client size, full screen unless windowed). False when no
  // window results, which includes a display-less SDL "offscreen" window.
  virtual bool createWindow(const char* title, int width, int height, bool windowed) = 0;
  // Destroys the window if it exists; the caller then does what WM_DESTROY does.
  virtual void destroyWindow() = 0;
  // What the graphics backend needs to attach to the window (null without a window).
  virtual WindowHandle windowHandle() = 0;

  // Takes one pending event; false when none is pending.
  virtual bool pollEvent(HostEvent& event) = 0;
  // Queues the quit message (PostQuitMessage).
  virtual void postQuit() = 0;

  virtual void showCursor(bool show) = 0;
  // Shows a message box with no owner and waits until it is dismissed.
  virtual void messageBox(const char* text, const char* caption, MessageIcon icon) = 0;
  virtual void sleep(uint32_t milliseconds) = 0;

  // Full path of the running executable, or empty when it cannot be found.
  virtual std::string executablePath() = 0;

  // The window's title bar (the editing keys show the music time there). Without a window, nothing.
  virtual void setTitle(const char* title) { (void)title; }
};

}  // namespace demo
