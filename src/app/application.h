#pragma once
// The process itself: start-up in its fixed order (script, window, device, audio), each failure with
// its own message box and exit code; the message pump that runs one frame per idle pass; the window
// procedure (close box, Escape, destruction); and the frame-rate report at the end.

#include <functional>

#include "gfx/device_layer.h"
#include "music/music_player.h"
#include "platform/host.h"
#include "script/show.h"

namespace demo {

// Exit codes of the show. On POSIX the process status is the low byte: -6 is 250, -4 is 252,
// -2 is 254, -1 is 255.
enum ExitCode : int {
  ExitOk = 0,
  ExitNoDevice = -1,
  ExitNoWindow = -2,
  ExitNoAudio = -4,
  ExitNoScript = -6,
};

class Application {
 public:
  static constexpr int ScreenWidth = 640;
  static constexpr int ScreenHeight = 480;
  static constexpr int BitsPerPixel = 16;

  // The host, the layer and the music player must outlive the application.
  Application(Host& host, DeviceLayer& layer, MusicPlayer& music)
      : host_(host), layer_(layer), show_(host, layer, music) {}

  // The entry point: commandLine is the text after the program name.
  int run(const char* commandLine, const char* scriptName = "demo.run");

  // Capture: the device is created windowed whatever the command line says (so the back buffer
  // takes the desktop's size with 8 bits per channel), and `finished` runs right before every
  // Present of the frame step. Set before run.
  void setCaptureMode(std::function<void()> finished) {
    captureMode_ = true;
    frameFinished_ = std::move(finished);
  }

  // For a platform whose frame loop is a callback that must return (the browser's): run returns
  // ExitOk as soon as the pump would begin; the caller then calls pumpTurn from its loop until it
  // returns false, and finish once. Set before run.
  void setExternalPump() { externalPump_ = true; }
  // One turn of the message pump: takes the pending events, then runs one frame. False once the
  // pump has returned.
  bool pumpTurn();
  // What follows the pump: the cursor comes back, the frame-rate report. ExitOk.
  int finish();

  Show& show() { return show_; }
  bool windowed() const { return windowed_; }
  bool tickEnabled() const { return tickEnabled_; }

 private:
  int fail(const char* text, const char* caption, int code);
  // The window procedure's share of an event.
  void dispatch(const HostEvent& event);
  // DestroyWindow and what its WM_DESTROY does: release the device, post the quit message.
  void destroyMainWindow();

  Host& host_;
  DeviceLayer& layer_;
  Show show_;
  bool windowed_ = false;
  bool tickEnabled_ = false;
  bool windowAlive_ = false;
  bool captureMode_ = false;
  bool externalPump_ = false;
  std::function<void()> frameFinished_;
};

}  // namespace demo
