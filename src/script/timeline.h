#pragma once
// The compiled program running against the clock: executed in list order, held by `at` until its
// time, with timed instructions moved into a table of active ones that run once per frame, in
// activation order (which is script order, so later ones draw over earlier ones).

#include <cstdint>
#include <memory>
#include <vector>

#include "script/frame_state.h"
#include "script/instruction.h"

namespace demo {

struct Module;

using Program = std::vector<std::unique_ptr<Instruction>>;

class Timeline {
 public:
  static constexpr int32_t ActiveSlots = 1000;
  // The compiler refuses longer programs, so the active table, whose slots are never reused,
  // cannot overflow: each instruction is activated at most once.
  static constexpr size_t MaxInstructions = 1000;

  Timeline() = default;
  Timeline(const Timeline&) = delete;
  Timeline& operator=(const Timeline&) = delete;

  // Takes over a freshly compiled program.
  void load(Program program) { program_ = std::move(program); }
  const Program& program() const { return program_; }

  // Program counter to 0, show not started, active table empty.
  void resetTimeline(FrameState& frame);

  // Executes instructions from the program counter until one holds the program (EndFrame: a frame
  // boundary) or stops the show (Stop). Running past the last instruction ends the show as `end`
  // does.
  StepResult stepInstructions(Show& show);
  // Runs every active instruction once, in activation order: Continue, or Stop at once.
  StepResult runActive(Show& show);

  int32_t programCounter = 0;
  Instruction* activeTable[ActiveSlots] = {};
  int32_t activeCount = 0;            // slots ever filled
  Module* currentMusic = nullptr;     // what the clock reads; cleared by end

 private:
  Program program_;
};

}  // namespace demo
