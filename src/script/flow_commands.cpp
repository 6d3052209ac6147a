#include "script/flow_commands.h"

#include <cstdio>

#include "script/interpolation.h"
#include "script/show.h"

namespace demo {

void endShow(Show& show) {
  Module* playing = show.timeline.currentMusic;
  if (!playing) return;
  show.music.freeModule(playing);
  show.music.closeDevice();
  show.timeline.currentMusic = nullptr;
  // The module is gone: no registry entry may hand it out again.
  show.objects.forget(playing);
  for (MusicEntry* entry = show.names.music.head(); entry; entry = entry->next)
    if (entry->object == playing) entry->object = nullptr;
}

std::unique_ptr<Instruction> EndInstruction::compile(const ArgumentRecord&, CompileState&) {
  return newInstruction<EndInstruction>();
}

StepResult EndInstruction::execute(Show& show) {
  endShow(show);
  return StepResult::Stop;
}

std::unique_ptr<Instruction> StartInstruction::compile(const ArgumentRecord&, CompileState& state) {
  state.scheduleTime = 0;
  return newInstruction<StartInstruction>();
}

StepResult StartInstruction::execute(Show& show) {
  show.host.sleep(SettleMilliseconds);
  show.frame.showStarted = true;
  show.frame.demoTime = show.frame.startTime = show.readClock();
  show.frame.frameCount = 0;
  return StepResult::Continue;
}

std::unique_ptr<Instruction> AtInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  state.scheduleTime = args[0].integer;
  return newInstruction<AtInstruction>(args[0].integer);
}

StepResult AtInstruction::execute(Show& show) {
  return reached(show.frame.demoTime, time) ? StepResult::Continue : StepResult::EndFrame;
}

std::string AtInstruction::statement() const {
  const auto ms = static_cast<uint32_t>(time);
  char text[32];
  std::snprintf(text, sizeof text, "at %u:%03u", ms / 1000, ms % 1000);
  return text;
}

const AtInstruction* unreachableAt(Show& show) {
  const Program& program = show.timeline.program();
  const int32_t pc = show.timeline.programCounter;
  if (pc < 0 || static_cast<size_t>(pc) >= program.size()) return nullptr;
  const auto* at = dynamic_cast<const AtInstruction*>(program[static_cast<size_t>(pc)].get());
  if (!at || reached(show.frame.demoTime, at->time)) return nullptr;
  return !show.frame.showStarted || !show.timeline.currentMusic ? at : nullptr;
}

std::string frozenClockText(Show& show, const AtInstruction& at) {
  return at.statement() + " waits for a clock that stands still: " +
         (show.frame.showStarted ? "no music is playing (no playmusic has run, or end stopped it)"
                                 : "the show has not started (start comes after this at)");
}

}  // namespace demo
