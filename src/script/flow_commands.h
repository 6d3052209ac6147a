#pragma once
// The commands that drive the program itself: end, start and at.

#include <string>

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
  // "at 5:000", for messages.
  std::string statement() const;

  int32_t time;
};

// The `at` that holds the program when its time can never come, or null. The clock moves only
// once the show has started and while music plays; with the program held, no later start or
// playmusic can run, so such an `at` waits for good (and every frame looks like the last one).
const AtInstruction* unreachableAt(Show& show);
// Why unreachableAt found one: "at 5:000 waits for a clock that stands still: ...".
std::string frozenClockText(Show& show, const AtInstruction& at);

}  // namespace demo
