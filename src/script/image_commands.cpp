#include "script/image_commands.h"

#include "fx/grid_image.h"
#include "gfx/loaded_texture.h"
#include "script/file_problems.h"
#include "script/show.h"

namespace demo {

namespace {

// Sets the image up from the entry's loaded texture and hands it to the registry; Stop with the
// reason (the image destroyed) when that fails, including when nothing is loaded under the texture
// name.
StepResult initAndRegister(Show& show, const Instruction& instruction, const char* keyword,
                           std::unique_ptr<Image> made, TextureEntry& texture, ImageEntry& image, float u0, float v0,
                           float u1, float v1) {
  const LoadedTexture* loaded = texture.object;
  const std::string statement = std::string(keyword) + " " + angled(image.name) + " " + angled(texture.name) + ": ";
  if (!loaded || !loaded->texture)
    return show.fail(instruction, statement + "no picture is loaded under " + angled(texture.name) +
                                      " (its loadtexture has not run yet, or freetexture freed it)");
  if (!made) return show.fail(instruction, statement + "out of memory");
  if (!made->initImage(show.layer, loaded->texture, loaded->alphaFlag, u0, v0, u1, v1))
    return show.fail(instruction, statement + "the device cannot make the image's texture");
  image.object = show.objects.keep(std::move(made));
  return StepResult::Continue;
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
  return initAndRegister(show, *this, "makeimage", std::move(made), *texture, *image, u0, v0, u1, v1);
}

std::string MakeGridImageInstruction::gridProblem(int32_t columns, int32_t rows) {
  if (columns < 1 || rows < 1 || columns > MaxCells || rows > MaxCells)
    return "a grid needs 1 to " + std::to_string(MaxCells) + " columns and rows";
  if (int64_t{columns + 1} * (rows + 1) > MaxVertices)
    return "more than " + std::to_string(MaxVertices) + " grid points ((columns + 1) x (rows + 1))";
  return {};
}

std::string MakeGridImageInstruction::statement() const {
  return "makegridimage " + angled(image->name) + " " + angled(texture->name) + " " + std::to_string(columns) + " " +
         std::to_string(rows);
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
  if (const std::string why = gridProblem(columns, rows); !why.empty())
    return show.fail(*this, statement() + ": " + why);
  std::unique_ptr<Image> made(new (std::nothrow) GridImage(columns, rows, 0.0f, 0.0f, 1.0f, 1.0f));
  return initAndRegister(show, *this, "makegridimage", std::move(made), *texture, *image, 0.0f, 0.0f, 1.0f, 1.0f);
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
