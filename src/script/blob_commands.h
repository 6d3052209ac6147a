#pragma once
// The blob commands: makeblobs and playblobs (metaballs), make2dblobs and show2dblobs (the 2D blob
// field over a grid image). Each acts only on its own kind of object under the effect name.

#include "script/command_support.h"

namespace demo {

class MakeBlobsInstruction : public Instruction {
 public:
  MakeBlobsInstruction() : Instruction(27) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the blob system cannot be made.
  StepResult execute(Show& show) override;

  EffectEntry* effect = nullptr;
};

class PlayBlobsInstruction : public Instruction {
 public:
  PlayBlobsInstruction() : Instruction(28) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  // Waits, drawing nothing, while the name holds no blob system.
  StepResult perFrame(Show& show) override;

  EffectEntry* effect = nullptr;
  ImageEntry* image = nullptr;
  int32_t endTime = 0;
};

class Make2DBlobsInstruction : public Instruction {
 public:
  Make2DBlobsInstruction() : Instruction(30) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Replaces the 2D blob field under the name; only a grid image can carry one.
  StepResult execute(Show& show) override;

  EffectEntry* effect = nullptr;
  ImageEntry* image = nullptr;
};

class Show2DBlobsInstruction : public Instruction {
 public:
  Show2DBlobsInstruction() : Instruction(32) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  EffectEntry* effect = nullptr;
  int32_t endTime = 0;
};

}  // namespace demo
