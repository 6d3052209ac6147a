#include "script/particle_commands.h"

#include <algorithm>

#include "fx/particle_system.h"
#include "script/file_problems.h"
#include "script/interpolation.h"
#include "script/show.h"

namespace demo {

namespace {

// The demo time in seconds, as the particle systems count it.
float seconds(uint32_t demoTime) { return static_cast<float>(demoTime * 0.001); }

}  // namespace

std::unique_ptr<Instruction> MakeParticlesInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<MakeParticlesInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->image = args[1].image;
  instruction->maxCount = args[2].integer;
  return instruction;
}

StepResult MakeParticlesInstruction::execute(Show& show) {
  // A system that cannot be made (no image under the name yet, a capacity of 0) stops the show, as
  // a failing makeblobs or makeimage does.
  const std::string statement = "makeparticles " + angled(effect->name) + " " + angled(image->name) + " " +
                                std::to_string(static_cast<uint32_t>(maxCount)) + ": ";
  if (!image->object)
    return show.fail(*this, statement + "no image is made under " + angled(image->name) +
                                " (its makeimage has not run yet, or freeimage freed it)");
  if (maxCount == 0) return show.fail(*this, statement + "a particle system needs room for at least 1 particle");
  ParticleSystem* made =
      show.objects.keep(createParticleSystem(show.layer, image->object, static_cast<uint32_t>(maxCount)));
  if (!made) return show.fail(*this, statement + "out of memory");
  effect->object = made;
  return StepResult::Continue;
}

std::unique_ptr<Instruction> ShowParticlesInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<ShowParticlesInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->endTime = args[1].integer;
  return instruction;
}

StepResult ShowParticlesInstruction::execute(Show& show) {
  if (ParticleSystem* system = effectAs<ParticleSystem>(effect)) system->restart(seconds(show.frame.demoTime));
  return StepResult::Activate;
}

StepResult ShowParticlesInstruction::perFrame(Show& show) {
  if (reached(show.frame.demoTime, endTime)) return StepResult::Done;
  ParticleSystem* system = effectAs<ParticleSystem>(effect);
  if (!system) return StepResult::Continue;
  show.openScene();
  SceneDraw pass{show.layer, show.random, show.frame.demoTime};
  drawInCameraSpace(*system, pass);
  return StepResult::Continue;
}

std::unique_ptr<Instruction> PartObjectInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<PartObjectInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->scene = args[1].scene;
  if (!copyArgumentText(instruction->objectName, sizeof instruction->objectName, args[2].text, "object name", state))
    return nullptr;
  return instruction;
}

StepResult PartObjectInstruction::execute(Show& show) {
  ParticleSystem* system = effectAs<ParticleSystem>(effect);
  Scene* target = scene->object;
  if (!system || !target) return StepResult::Continue;
  if (attachToNode(*system, *target, objectName, seconds(show.frame.demoTime))) return StepResult::Continue;
  return show.fail(*this, "partobject " + angled(effect->name) + " " + angled(scene->name) + " " + quoted(objectName) +
                              ": the scene has no object node of that name");
}

namespace {

std::unique_ptr<Instruction> compileBox(int32_t kindCode, ParticleBoxInstruction::Box box, const ArgumentRecord& args) {
  auto instruction = newInstruction<ParticleBoxInstruction>(kindCode, box);
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  for (int axis = 0; axis < 3; ++axis) {
    instruction->minimum[axis] = args[1 + axis].real;
    instruction->maximum[axis] = args[4 + axis].real;
  }
  return instruction;
}

}  // namespace

std::unique_ptr<Instruction> ParticleBoxInstruction::compilePosition(const ArgumentRecord& args, CompileState&) {
  return compileBox(20, Box::Position, args);
}

std::unique_ptr<Instruction> ParticleBoxInstruction::compileVelocity(const ArgumentRecord& args, CompileState&) {
  return compileBox(21, Box::Velocity, args);
}

std::unique_ptr<Instruction> ParticleBoxInstruction::compileAcceleration(const ArgumentRecord& args, CompileState&) {
  return compileBox(22, Box::Acceleration, args);
}

StepResult ParticleBoxInstruction::execute(Show&) {
  ParticleSystem* system = effectAs<ParticleSystem>(effect);
  if (!system) return StepResult::Continue;
  float* low = box == Box::Position ? system->posMin : box == Box::Velocity ? system->velMin : system->accMin;
  float* high = box == Box::Position ? system->posMax : box == Box::Velocity ? system->velMax : system->accMax;
  std::copy(minimum, minimum + 3, low);
  std::copy(maximum, maximum + 3, high);
  return StepResult::Continue;
}

std::unique_ptr<Instruction> PartLifeInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<PartLifeInstruction>();
  if (!instruction) return nullptr;
  instruction->effect = args[0].effect;
  instruction->birthRate = args[1].real;
  instruction->minLife = args[2].real;
  instruction->maxLife = args[3].real;
  return instruction;
}

StepResult PartLifeInstruction::execute(Show&) {
  if (ParticleSystem* system = effectAs<ParticleSystem>(effect)) {
    system->birthInterval = birthRate;
    system->lifeMin = minLife;
    system->lifeMax = maxLife;
  }
  return StepResult::Continue;
}

}  // namespace demo
