#pragma once
// One run of the show: everything the script, the timeline and the frame loop share, in plain
// objects, created by the entry point (or a test) and passed down. Nothing of it is global, so a
// test can build a fresh show, compile a script, step frames and throw it away.

#include <cstdint>
#include <string>

#include "fx/random.h"
#include "gfx/device_layer.h"
#include "music/music_player.h"
#include "platform/host.h"
#include "script/compile_state.h"
#include "script/frame_state.h"
#include "script/registries.h"
#include "script/show_objects.h"
#include "script/timeline.h"

namespace demo {

// Why the show stopped before its end: an instruction that could not do its work, or a clock that
// can never reach the time an `at` waits for. Empty while the show runs as written.
struct ShowFailure {
  int32_t line = 0;  // the instruction's script line
  std::string text;  // what failed and why: `loadtexture "logo.tga": not found (...)`

  bool failed() const { return !text.empty(); }
};

class Show {
 public:
  // The host sleeps for start, the layer draws, the music player plays and is the clock. All three
  // must outlive the show.
  Show(Host& host, DeviceLayer& layer, MusicPlayer& music) : host(host), layer(layer), music(music), objects(music) {}
  Show(const Show&) = delete;
  Show& operator=(const Show&) = delete;

  // BeginScene once per frame: every instruction that draws calls it first.
  void openScene();
  // Milliseconds of the playing music; 0 while none plays.
  uint32_t readClock() { return timeline.currentMusic ? music.musicTime() : 0; }
  // Records why the instruction cannot go on (the first reason wins) and answers Stop, which ends
  // the show as `end` does.
  StepResult fail(const Instruction& instruction, std::string text);
  // "SCRIPT:LINE: TEXT", the way --check reports, for the failure recorded.
  std::string failureReport() const;

  Host& host;
  DeviceLayer& layer;
  MusicPlayer& music;

  ShowObjects objects;  // destroyed last: everything else only points into it
  Registries names;
  CompileState compiler;
  Timeline timeline;
  FrameState frame;
  Random random;
  ShowFailure failure;
};

}  // namespace demo
