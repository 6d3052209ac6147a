#include "script/background_command.h"

#include "script/interpolation.h"
#include "script/show.h"

namespace demo {

std::unique_ptr<Instruction> FadeBgInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<FadeBgInstruction>();
  if (!instruction) return nullptr;
  instruction->fromColour = static_cast<uint32_t>(args[0].integer);
  instruction->toColour = static_cast<uint32_t>(args[1].integer);
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[2].integer;
  return instruction;
}

StepResult FadeBgInstruction::perFrame(Show& show) {
  const uint32_t now = show.frame.demoTime;
  if (reached(now, endTime)) {
    show.frame.backgroundColor = toColour;
    return StepResult::Done;
  }
  show.frame.backgroundColor = interpolateColour(fromColour, toColour, fixedFraction(now, startTime, endTime));
  return StepResult::Continue;
}

}  // namespace demo
