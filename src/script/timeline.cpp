#include "script/timeline.h"

#include "script/flow_commands.h"
#include "script/show.h"

namespace demo {

void Timeline::resetTimeline(FrameState& frame) {
  programCounter = 0;
  frame.showStarted = false;
  activeCount = 0;
}

StepResult Timeline::stepInstructions(Show& show) {
  for (;;) {
    if (programCounter < 0 || static_cast<size_t>(programCounter) >= program_.size()) {
      endShow(show);
      return StepResult::Stop;
    }
    Instruction& instruction = *program_[static_cast<size_t>(programCounter)];
    switch (instruction.execute(show)) {
      case StepResult::Stop:
        return StepResult::Stop;
      case StepResult::EndFrame:
        return StepResult::EndFrame;
      case StepResult::Activate:
        if (activeCount >= ActiveSlots) return StepResult::Stop;  // unreachable with <= 1000 instructions
        activeTable[activeCount++] = &instruction;
        ++programCounter;
        break;
      default:
        ++programCounter;
        break;
    }
  }
}

StepResult Timeline::runActive(Show& show) {
  for (int32_t slot = 0; slot < activeCount; ++slot) {
    Instruction* instruction = activeTable[slot];
    if (!instruction) continue;
    switch (instruction->perFrame(show)) {
      case StepResult::Done:
        activeTable[slot] = nullptr;
        break;
      case StepResult::Stop:
        return StepResult::Stop;
      default:
        break;
    }
  }
  return StepResult::Continue;
}

}  // namespace demo
