#include "script/image_timed_commands.h"

#include "fx/image.h"
#include "script/blend_modes.h"
#include "script/interpolation.h"
#include "script/show.h"

namespace demo {

std::unique_ptr<Instruction> ShowImageInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<ShowImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->blendMode = args[1].integer;
  instruction->endTime = args[2].integer;
  return instruction;
}

StepResult ShowImageInstruction::perFrame(Show& show) {
  const BlendModeInfo* blend = demo::blendMode(blendMode);
  if (!blend || reached(show.frame.demoTime, endTime)) return StepResult::Done;
  Image* shown = image->object;
  if (!shown) return StepResult::Continue;
  show.openScene();
  setBlendStates(*show.layer.device(), *blend);
  shown->draw(show.layer);
  return StepResult::Continue;
}

std::unique_ptr<Instruction> FadeImageInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<FadeImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->fromColour = static_cast<uint32_t>(args[1].integer);
  instruction->toColour = static_cast<uint32_t>(args[2].integer);
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[3].integer;
  return instruction;
}

StepResult FadeImageInstruction::perFrame(Show& show) {
  Image* faded = image->object;
  const uint32_t now = show.frame.demoTime;
  if (reached(now, endTime)) {
    if (faded) faded->colour = toColour;
    return StepResult::Done;
  }
  if (faded) faded->colour = interpolateColour(fromColour, toColour, fixedFraction(now, startTime, endTime));
  return StepResult::Continue;
}

std::unique_ptr<Instruction> BlurImageInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<BlurImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->fromLevel = args[1].integer;
  instruction->toLevel = args[2].integer;
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[3].integer;
  return instruction;
}

StepResult BlurImageInstruction::perFrame(Show& show) {
  Image* blurred = image->object;
  const uint32_t now = show.frame.demoTime;
  if (reached(now, endTime)) {
    if (blurred) setBlurLevel(*blurred, toLevel);
    return StepResult::Done;
  }
  if (blurred) setBlurLevel(*blurred, interpolateLevel(fromLevel, toLevel, fixedFraction(now, startTime, endTime)));
  return StepResult::Continue;
}

std::unique_ptr<Instruction> SpackBlurImageInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<SpackBlurImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->minLevel = args[1].integer;
  instruction->maxLevel = args[2].integer;
  instruction->minInterval = args[3].integer;
  instruction->maxInterval = args[4].integer;
  instruction->endTime = args[5].integer;
  return instruction;
}

StepResult SpackBlurImageInstruction::execute(Show& show) {
  nextChangeTime = static_cast<int32_t>(show.frame.demoTime);
  savedLevel = image->object ? image->object->blurLevel : 0;
  return StepResult::Activate;
}

namespace {

// lo + r x (hi - lo) / 32767 in unsigned 32-bit arithmetic: r = 32767 gives exactly hi.
uint32_t randomBetween(Random& random, int32_t lo, int32_t hi) {
  const auto r = static_cast<uint32_t>(random.next());
  const uint32_t range = static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo);
  return static_cast<uint32_t>(lo) + r * range / static_cast<uint32_t>(Random::Max);
}

}  // namespace

StepResult SpackBlurImageInstruction::perFrame(Show& show) {
  Image* blurred = image->object;
  const uint32_t now = show.frame.demoTime;
  if (reached(now, endTime)) {
    if (blurred) setBlurLevel(*blurred, savedLevel);
    return StepResult::Done;
  }
  if (!blurred || !reached(now, nextChangeTime)) return StepResult::Continue;
  setBlurLevel(*blurred, static_cast<int32_t>(randomBetween(show.random, minLevel, maxLevel)));
  nextChangeTime = static_cast<int32_t>(now + randomBetween(show.random, minInterval, maxInterval));
  return StepResult::Continue;
}

namespace {

std::unique_ptr<Instruction> compileImageFloats(int32_t kindCode, ImageFloatsInstruction::Target target,
                                                const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<ImageFloatsInstruction>(kindCode, target);
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->fromA = args[1].real;
  instruction->toA = args[2].real;
  instruction->fromB = args[3].real;
  instruction->toB = args[4].real;
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[5].integer;
  return instruction;
}

}  // namespace

std::unique_ptr<Instruction> ImageFloatsInstruction::compileMove(const ArgumentRecord& args, CompileState& state) {
  return compileImageFloats(15, Target::Position, args, state);
}

std::unique_ptr<Instruction> ImageFloatsInstruction::compileSize(const ArgumentRecord& args, CompileState& state) {
  return compileImageFloats(16, Target::Size, args, state);
}

StepResult ImageFloatsInstruction::perFrame(Show& show) {
  Image* changed = image->object;
  const uint32_t now = show.frame.demoTime;
  const bool done = reached(now, endTime);
  if (changed) {
    const float u = done ? 0.0f : floatFraction(now, startTime, endTime);
    const float a = done ? toA : interpolateFloat(fromA, toA, u);
    const float b = done ? toB : interpolateFloat(fromB, toB, u);
    (target == Target::Position ? changed->x : changed->width) = a;
    (target == Target::Position ? changed->y : changed->height) = b;
  }
  return done ? StepResult::Done : StepResult::Continue;
}

std::unique_ptr<Instruction> VertexImageInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<VertexImageInstruction>();
  if (!instruction) return nullptr;
  instruction->image = args[0].image;
  instruction->scene = args[1].scene;
  if (!copyArgumentText(instruction->objectName, sizeof instruction->objectName, args[2].text, "object name", state))
    return nullptr;
  instruction->endTime = args[3].integer;
  return instruction;
}

StepResult VertexImageInstruction::perFrame(Show& show) {
  return reached(show.frame.demoTime, endTime) ? StepResult::Done : StepResult::Continue;
}

}  // namespace demo
