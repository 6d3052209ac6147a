#include "script/image_commands.h"

#include "fx/grid_image.h"
#include "gfx/loaded_texture.h"
#include "script/show.h"

namespace demo {

namespace {

// Sets the image up from the entry's loaded texture and hands it to the registry; false (the image
// destroyed) when that fails, including when nothing is loaded under the texture name.
bool initAndRegister(Show& show, std::unique_ptr<Image> made, TextureEntry& texture, ImageEntry& image, float u0,
                     float v0, float u1, float v1) {
  const LoadedTexture* loaded = texture.object;
  if (!made || !made->initImage(show.layer, loaded ? loaded->texture : nullptr, loaded ? loaded->alphaFlag : 0, u0,
                                v0, u1, v1))
    return false;
  image.object = show.objects.keep(std::move(made));
  return true;
}

}  // namespace

std::unique_ptr<Instruction> MakeImageInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<MakeImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->texture = args[1].texture;
  instruction->u0 = args[2].real;
  instruction->v0 = args[3].real;
  instruction->u1 = args[4].real;
  instruction->v1 = args[5].real;
  return instruction;
}

StepResult MakeImageInstruction::execute(Show& show) {
  std::unique_ptr<Image> made(new (std::nothrow) Image);
  return initAndRegister(show, std::move(made), *texture, *image, u0, v0, u1, v1) ? StepResult::Continue
                                                                                   : StepResult::Stop;
}

std::unique_ptr<Instruction> MakeGridImageInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<MakeGridImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->texture = args[1].texture;
  instruction->columns = args[2].integer;
  instruction->rows = args[3].integer;
  return instruction;
}

StepResult MakeGridImageInstruction::execute(Show& show) {
  if (columns < 1 || rows < 1 || columns > MaxCells || rows > MaxCells ||
      int64_t{columns + 1} * (rows + 1) > MaxVertices)
    return StepResult::Stop;
  std::unique_ptr<Image> made(new (std::nothrow) GridImage(columns, rows, 0.0f, 0.0f, 1.0f, 1.0f));
  return initAndRegister(show, std::move(made), *texture, *image, 0.0f, 0.0f, 1.0f, 1.0f) ? StepResult::Continue
                                                                                           : StepResult::Stop;
}

std::unique_ptr<Instruction> FreeImageInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<FreeImageInstruction>();
  if (instruction) instruction->image = args[0].image;
  return instruction;
}

StepResult FreeImageInstruction::execute(Show& show) {
  if (Image* freed = image->object) {
    image->object = nullptr;
    show.objects.release(freed);
  }
  return StepResult::Continue;
}

}  // namespace demo
