#pragma once
// A MusicPlayer for tests: its clock reads whatever the test sets, its modules are opaque tokens,
// and every call is logged.

#include <cstdint>
#include <string>
#include <vector>

#include "music/music_player.h"

namespace demo::test {

class ScriptedMusic : public MusicPlayer {
 public:
  uint32_t time = 0;          // what musicTime reports
  bool canOpen = true;        // openAudioOutput's answer
  bool canLoad = true;        // loadModule yields a module
  ModuleProblem problem = ModuleProblem::None;  // what loadProblem reports after a refused load
  std::vector<std::string> calls;  // "openAudioOutput", "loadModule NAME", "startModule", "freeModule", ...
  std::vector<Module*> freed;

  bool openAudioOutput() override {
    calls.push_back("openAudioOutput");
    return canOpen;
  }
  Module* loadModule(const char* name) override {
    calls.push_back(std::string("loadModule ") + name);
    if (!canLoad || loaded_ >= MaxModules) return nullptr;
    // Opaque tokens: the timeline never looks inside a module.
    return reinterpret_cast<Module*>(&tokens_[loaded_++]);
  }
  ModuleProblem loadProblem() const override { return problem; }
  bool startModule(Module* module) override {
    calls.push_back("startModule");
    return module != nullptr;
  }
  void freeModule(Module* module) override {
    calls.push_back("freeModule");
    freed.push_back(module);
  }
  void closeDevice() override { calls.push_back("closeDevice"); }
  uint32_t musicTime() override { return time; }

 private:
  static constexpr int MaxModules = 8;
  char tokens_[MaxModules] = {};
  int loaded_ = 0;
};

}  // namespace demo::test
