#pragma once
// The commands that drive the program itself: end, start and at.

#include "script/command_support.h"

namespace demo {

// The end operation, also run by the Escape key: stops and frees the playing music and closes the
// wave output. Without music it does nothing.
void endShow(Show& show);

class EndInstruction : public Instruction {
 public:
  EndInstruction() : Instruction(0) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;
};

class StartInstruction : public Instruction {
 public:
  static constexpr uint32_t SettleMilliseconds = 2000;  // the pause before the show's clock starts

  StartInstruction() : Instruction(1) {}
  // Later statements run from time 0.
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;
};

class AtInstruction : public Instruction {
 public:
  explicit AtInstruction(int32_t time) : Instruction(2), time(time) {}
  // Later statements up to the next at run from this time; at times need not increase.
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  int32_t time;
};

}  // namespace demo
