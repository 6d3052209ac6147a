#pragma once
// A music player without any output: it cannot be opened, loads nothing, and its clock stands at 0.
// Used where a script is compiled but never played (`demo --check`, `demo-pack --verify`).

#include "music/music_player.h"

namespace demo {

class SilentMusic : public MusicPlayer {
 public:
  bool openAudioOutput() override { return false; }
  Module* loadModule(const char*) override { return nullptr; }
  bool startModule(Module*) override { return false; }
  void freeModule(Module*) override {}
  void closeDevice() override {}
  uint32_t musicTime() override { return 0; }
};

}  // namespace demo
