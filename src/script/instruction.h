#pragma once
// A compiled script command. The timeline calls execute once when the program counter reaches it,
// and perFrame once per frame while it is active. Both answer with a StepResult.

#include <cstdint>

namespace demo {

class Show;

enum class StepResult : int {
  Stop = 0,      // end the show; the rest of the frame is abandoned
  Continue = 1,  // execute: go on with the next instruction; perFrame: stay active
  Done = 2,      // perFrame: leave the active table
  Activate = 3,  // execute: join the active table, then go on
  EndFrame = 4,  // execute: not yet; run this instruction again next frame
};

class Instruction {
 public:
  explicit Instruction(int32_t kindCode) : kindCode(kindCode) {}
  virtual ~Instruction() = default;
  Instruction(const Instruction&) = delete;
  Instruction& operator=(const Instruction&) = delete;

  // Commands that never become active are never asked; answering Done keeps them harmless.
  virtual StepResult perFrame(Show&) { return StepResult::Done; }
  virtual StepResult execute(Show& show) = 0;

  // The command's number in the command table. Nothing dispatches on it; it names the record in
  // dumps and tests.
  const int32_t kindCode;
  // The script line the statement stands on (set by the compiler), so that a failure at run time
  // can say where it happened.
  int32_t line = 0;
};

}  // namespace demo
