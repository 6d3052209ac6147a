#pragma once
// The process itself: start-up in its fixed order (script, window, device, audio), each failure with
// its own message box and exit code; the message pump that runs one frame per idle pass; the window
// procedure (close box, Escape, destruction); and the frame-rate report at the end.

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/file_watch.h"
#include "app/section.h"
#include "gfx/device_layer.h"
#include "music/music_player.h"
#include "platform/host.h"
#include "script/show.h"

namespace demo {

// Exit codes of the show. On POSIX the process status is the low byte: -6 is 250, -4 is 252,
// -3 is 253, -2 is 254, -1 is 255.
enum ExitCode : int {
  ExitOk = 0,
  ExitNoDevice = -1,
  ExitNoWindow = -2,
  // The show stopped at an instruction that could not do its work (a file that cannot be loaded,
  // a camera the scene lacks, ...) or, in a capture, at an `at` whose time can never come. The
  // show itself stops as it always did; only the code tells it apart from an orderly end.
  ExitShowFailed = -3,
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
      : host_(host), layer_(layer), music_(music), show_(std::make_unique<Show>(host, layer, music)) {}

  // The entry point: commandLine is the text after the program name.
  int run(const char* commandLine, const char* scriptName = "demo.run");

  // Capture: the device is created windowed whatever the command line says (so the back buffer
  // takes the desktop's size with 8 bits per channel), `finished` runs right before every Present
  // of the frame step, and a show whose clock can never reach the `at` holding it stops after
  // `frozenFrames` frames (a window only warns: someone can press Escape there). Set before run.
  void setCaptureMode(std::function<void()> finished, uint64_t frozenFrames) {
    captureMode_ = true;
    frameFinished_ = std::move(finished);
    frozenFrameLimit_ = frozenFrames;
  }

  // For a platform whose frame loop is a callback that must return (the browser's): run returns
  // ExitOk as soon as the pump would begin; the caller then calls pumpTurn from its loop until it
  // returns false, and finish once. Set before run.
  void setExternalPump() { externalPump_ = true; }
  // One turn of the message pump: takes the pending events, then runs one frame. False once the
  // pump has returned.
  bool pumpTurn();
  // What follows the pump: the cursor comes back, a failed show's reason, the frame-rate report.
  // ExitOk, or ExitShowFailed when an instruction stopped the show.
  int finish();
  // Where the reasons for a failed script or show go besides the message boxes (stderr; null:
  // nowhere).
  void setLog(std::FILE* log) { log_ = log; }

  // --from, --to, --loop: resolved with the script's labels once it is compiled; a request the
  // script cannot meet ends run() with cli::ExitUsage before any window opens. Set before run.
  void setSection(SectionRequest section) { section_ = std::move(section); }

  // --watch: when the script or a file it loads changes on disk, a fresh show is compiled and, when
  // it compiles and every file loads, replaces the running one at the same music time; otherwise
  // the running one goes on and the reason is logged and shown in the title. The files are looked
  // at every `interval`. Set before run.
  void setWatch(bool watch, std::chrono::milliseconds interval = std::chrono::milliseconds(200)) {
    watching_ = watch;
    watchInterval_ = interval;
  }

  // The show of this moment: a loop or a seek replaces it with a fresh one.
  Show& show() { return *show_; }
  bool windowed() const { return windowed_; }
  bool tickEnabled() const { return tickEnabled_; }

 private:
  int fail(const char* text, const char* caption, int code);
  void log(const std::string& line);
  // The message box and log line of a script that does not compile, the log line naming the
  // reason the box leaves out (a damaged archive member, what was wrong on the line).
  int scriptFailed();
  // After the pump: the reason a failing instruction stopped the show, in the --check style.
  void reportShowFailure();
  // The section's times into the show's play range; false with the reason logged.
  bool applySection(Show& show);
  // After a frame step that stopped: a loop starts the section again, anything else ends the show.
  void frameStopped();
  // The play range every show of this run gets: the loop's end while looping, else --to.
  void applyRange(Show& show) const;
  // The window's editing keys (app/editing_keys.cpp): true when the key was one of them.
  bool editKey(int key);
  // "Demo  42:300  [climax]  paused  loop [climax]..[finale]", set when it changes.
  void updateTitle();
  // Throws the show away for a fresh one compiled from the script and started at `from`, as though
  // it had played up to there (a seek; paused again if it was). False (the old show goes on) when
  // the script no longer compiles.
  bool restartShow(uint32_t from, std::string* problem = nullptr, bool checkFiles = false);
  // --watch: the files of the show now running; a reload when one changed.
  void watchFiles();
  void pollWatch();
  void reload();
  // After each presented frame: notices an `at` whose time can never come.
  void watchClock();
  // The window procedure's share of an event.
  void dispatch(const HostEvent& event);
  // DestroyWindow and what its WM_DESTROY does: release the device, post the quit message.
  void destroyMainWindow();

  Host& host_;
  DeviceLayer& layer_;
  MusicPlayer& music_;
  std::unique_ptr<Show> show_;
  std::string scriptName_ = "demo.run";
  SectionRequest section_;
  SectionTimes sectionTimes_;
  // Where a loop goes back to and where it turns (--loop, or L between two labels); `to` unset
  // turns at nothing.
  bool looping_ = false;
  uint32_t loopFrom_ = 0;
  std::optional<uint32_t> loopTo_;
  bool paused_ = false;  // Space
  std::string title_;
  bool watching_ = false;
  std::chrono::milliseconds watchInterval_{200};
  std::chrono::steady_clock::time_point nextWatch_{};
  FileWatch watch_;
  std::string reloadProblem_;  // why the last reload kept the old show; empty after a good one
  std::optional<std::chrono::steady_clock::time_point> reloadSeen_;  // a reload waiting for its first frame
  bool windowed_ = false;
  bool tickEnabled_ = false;
  bool windowAlive_ = false;
  bool captureMode_ = false;
  bool externalPump_ = false;
  std::function<void()> frameFinished_;
  std::FILE* log_ = stderr;
  uint64_t frozenFrameLimit_ = 0;
  uint64_t frozenFrames_ = 0;
  bool frozenWarned_ = false;
};

}  // namespace demo
