#pragma once
// loadmusic and playmusic.

#include "script/command_support.h"

namespace demo {

class LoadMusicInstruction : public Instruction {
 public:
  LoadMusicInstruction() : Instruction(4) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the module cannot be loaded.
  StepResult execute(Show& show) override;

  MusicEntry* music = nullptr;
  char fileName[256] = {};
};

class PlayMusicInstruction : public Instruction {
 public:
  PlayMusicInstruction() : Instruction(40) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the entry holds no module; the playing module becomes the clock.
  StepResult execute(Show& show) override;

  MusicEntry* music = nullptr;
};

}  // namespace demo
