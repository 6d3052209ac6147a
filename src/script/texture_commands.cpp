#include "script/texture_commands.h"

#include "gfx/loaded_texture.h"
#include "script/file_problems.h"
#include "script/show.h"

namespace demo {

std::unique_ptr<Instruction> LoadTextureInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<LoadTextureInstruction>();
  if (!instruction) return nullptr;
  instruction->texture = args[0].texture;
  if (!copyArgumentText(instruction->fileName, sizeof instruction->fileName, args[1].text, "file name", state))
    return nullptr;
  instruction->width = args[2].integer;
  instruction->height = args[3].integer;
  instruction->alphaFlag = args[4].integer != 0 ? 1 : 0;
  return instruction;
}

StepResult LoadTextureInstruction::execute(Show& show) {
  std::string why;
  Texture* loaded =
      loadImageTexture(show.layer, fileName, static_cast<uint32_t>(width), static_cast<uint32_t>(height), &why);
  if (!loaded) return show.fail(*this, "loadtexture " + quoted(fileName) + ": " + why);
  auto record = std::unique_ptr<LoadedTexture>(new (std::nothrow) LoadedTexture{loaded, alphaFlag});
  if (!record) {
    loaded->Release();
    return show.fail(*this, "loadtexture " + quoted(fileName) + ": out of memory");
  }
  texture->object = show.objects.keep(std::move(record));
  return StepResult::Continue;
}

std::unique_ptr<Instruction> FreeTextureInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<FreeTextureInstruction>();
  if (instruction) instruction->texture = args[0].texture;
  return instruction;
}

StepResult FreeTextureInstruction::execute(Show& show) {
  if (LoadedTexture* loaded = texture->object) {
    texture->object = nullptr;
    show.objects.release(loaded);
  }
  return StepResult::Continue;
}

}  // namespace demo
