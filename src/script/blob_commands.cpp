#include "script/blob_commands.h"

#include "fx/blob_system.h"
#include "fx/blobs_2d.h"
#include "fx/grid_image.h"
#include "script/file_problems.h"
#include "script/interpolation.h"
#include "script/show.h"

namespace demo {

std::unique_ptr<Instruction> MakeBlobsInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<MakeBlobsInstruction>();
  if (instruction) instruction->effect = args[0].effect;
  return instruction;
}

// A system that cannot be made (no memory for its grid) stops the show, as a failing loader does:
// playblobs would otherwise wait on an empty name to the end, showing nothing and saying nothing.
StepResult MakeBlobsInstruction::execute(Show& show) {
  BlobSystem* made = show.objects.keep(createBlobSystem(show.layer));
  if (!made) return show.fail(*this, "makeblobs " + angled(effect->name) + ": the blob system cannot be made");
  effect->object = made;
  return StepResult::Continue;
}

std::unique_ptr<Instruction> PlayBlobsInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<PlayBlobsInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->image = args[1].image;
  instruction->endTime = args[2].integer;
  return instruction;
}

StepResult PlayBlobsInstruction::perFrame(Show& show) {
  if (reached(show.frame.demoTime, endTime)) return StepResult::Done;
  BlobSystem* system = effectAs<BlobSystem>(effect);
  Image* environment = image->object;
  if (!system || !environment) return StepResult::Continue;
  show.openScene();
  system->drawBlobs(show.layer, static_cast<float>(show.frame.demoTime * 0.003), *environment);
  return StepResult::Continue;
}

std::unique_ptr<Instruction> Make2DBlobsInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<Make2DBlobsInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->image = args[1].image;
  return instruction;
}

StepResult Make2DBlobsInstruction::execute(Show& show) {
  if (Blobs2D* previous = effectAs<Blobs2D>(effect)) {
    effect->object = EffectObject();
    show.objects.release(previous);
  }
  if (auto* grid = dynamic_cast<GridImage*>(image->object)) {
    if (Blobs2D* made = show.objects.keep(std::unique_ptr<Blobs2D>(new (std::nothrow) Blobs2D(*grid))))
      effect->object = made;
  }
  return StepResult::Continue;
}

std::unique_ptr<Instruction> Show2DBlobsInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<Show2DBlobsInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->endTime = args[1].integer;
  return instruction;
}

StepResult Show2DBlobsInstruction::perFrame(Show& show) {
  if (reached(show.frame.demoTime, endTime)) return StepResult::Done;
  Blobs2D* field = effectAs<Blobs2D>(effect);
  if (!field) return StepResult::Continue;
  show.openScene();
  RenderDevice& device = *show.layer.device();
  device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  field->updateAndDraw(show.layer, static_cast<float>(show.frame.demoTime * 0.01));
  return StepResult::Continue;
}

}  // namespace demo
