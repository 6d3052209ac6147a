#include "script/music_commands.h"

#include "script/show.h"

namespace demo {

std::unique_ptr<Instruction> LoadMusicInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<LoadMusicInstruction>();
  if (!instruction) return nullptr;
  instruction->music = args[0].music;
  if (!copyArgumentText(instruction->fileName, sizeof instruction->fileName, args[1].text, "file name", state))
    return nullptr;
  return instruction;
}

StepResult LoadMusicInstruction::execute(Show& show) {
  Module* module = show.music.loadModule(fileName);
  if (!module) return StepResult::Stop;
  music->object = show.objects.keep(module);
  return StepResult::Continue;
}

std::unique_ptr<Instruction> PlayMusicInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<PlayMusicInstruction>();
  if (instruction) instruction->music = args[0].music;
  return instruction;
}

StepResult PlayMusicInstruction::execute(Show& show) {
  Module* module = music->object;
  if (!module) return StepResult::Stop;
  if (show.music.startModule(module)) show.timeline.currentMusic = module;
  return StepResult::Continue;
}

}  // namespace demo
