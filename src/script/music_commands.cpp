#include "script/music_commands.h"

#include "script/file_problems.h"
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
  if (!module)
    return show.fail(*this, "loadmusic " + quoted(fileName) + ": " + moduleProblem(fileName, show.music.loadProblem()));
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
  if (!module)
    return show.fail(*this, "playmusic " + angled(music->name) +
                                ": no music is loaded under that name "
                                "(its loadmusic has not run yet, or end freed it)");
  if (show.music.startModule(module)) show.timeline.currentMusic = module;
  return StepResult::Continue;
}

}  // namespace demo
