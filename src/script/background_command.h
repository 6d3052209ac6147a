#pragma once
// fadebg: fades the colour every frame is cleared to. It runs after the frame's clear, so each
// frame shows the colour computed in the frame before.

#include "script/command_support.h"

namespace demo {

class FadeBgInstruction : public Instruction {
 public:
  FadeBgInstruction() : Instruction(24) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  uint32_t fromColour = 0;
  uint32_t toColour = 0;
  int32_t startTime = 0;
  int32_t endTime = 0;
};

}  // namespace demo
