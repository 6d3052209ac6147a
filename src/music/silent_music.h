#pragma once
// A music player without any output: it cannot be opened, loads nothing, and its clock stands at 0.
// Used where no music can play (`demo --check`, and the show until a real output is wired).

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
