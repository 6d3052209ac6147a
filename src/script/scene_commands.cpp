#include "script/scene_commands.h"

#include "fx/grid_image.h"
#include "fx/tunnel.h"
#include "scene/scene.h"
#include "script/file_problems.h"
#include "script/interpolation.h"
#include "script/show.h"

namespace demo {

std::unique_ptr<Instruction> LoadSceneInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<LoadSceneInstruction>();
  if (!instruction) return nullptr;
  instruction->scene = args[0].scene;
  if (!copyArgumentText(instruction->fileName, sizeof instruction->fileName, args[1].text, "file name", state))
    return nullptr;
  return instruction;
}

StepResult LoadSceneInstruction::execute(Show& show) {
  std::string why;
  std::unique_ptr<Scene> loaded = loadScene(show.layer, fileName, &why);
  if (!loaded) {
    if (why.empty()) why = "cannot be read as a 3DS scene";
    return show.fail(*this, "loadscene " + quoted(fileName) + ": " + why);
  }
  scene->object = show.objects.keep(std::move(loaded));
  return StepResult::Continue;
}

std::unique_ptr<Instruction> SelectCamInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<SelectCamInstruction>();
  if (!instruction) return nullptr;
  instruction->scene = args[0].scene;
  if (!copyArgumentText(instruction->cameraName, sizeof instruction->cameraName, args[1].text, "camera name", state))
    return nullptr;
  return instruction;
}

StepResult SelectCamInstruction::execute(Show& show) {
  Scene* target = scene->object;
  if (!target || target->selectCamera(cameraName)) return StepResult::Continue;
  return show.fail(*this, "selectcam " + angled(scene->name) + " " + quoted(cameraName) +
                              ": the scene has no camera of that name (names are compared exactly)");
}

std::unique_ptr<Instruction> SetFarPlaneInstruction::compile(const ArgumentRecord& args, CompileState&) {
  auto instruction = newInstruction<SetFarPlaneInstruction>();
  if (!instruction) return nullptr;
  instruction->scene = args[0].scene;
  instruction->farDistance = args[1].real;
  return instruction;
}

StepResult SetFarPlaneInstruction::execute(Show&) {
  if (Scene* target = scene->object) target->farPlane = farDistance;
  return StepResult::Continue;
}

float compileSceneSpeed(const Argument& startFrame, const Argument& endFrameOrSpeed, int32_t startTime,
                        int32_t endTime) {
  if (endFrameOrSpeed.kind == arg::Speed) return static_cast<float>(endFrameOrSpeed.real * 0.001);
  const auto frames = static_cast<int32_t>(static_cast<uint32_t>(endFrameOrSpeed.integer) -
                                           static_cast<uint32_t>(startFrame.integer));
  const auto span = static_cast<int32_t>(static_cast<uint32_t>(endTime) - static_cast<uint32_t>(startTime));
  // An empty span is already over when the instruction runs; 0 keeps the frame finite regardless.
  if (span == 0) return 0.0f;
  return static_cast<float>(frames) / static_cast<float>(span);
}

std::unique_ptr<Instruction> PlaySceneInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<PlaySceneInstruction>();
  if (!instruction) return nullptr;
  instruction->scene = args[0].scene;
  instruction->startFrame = args[1].integer;
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[3].integer;
  instruction->speed = compileSceneSpeed(args[1], args[2], state.scheduleTime, args[3].integer);
  return instruction;
}

StepResult PlaySceneInstruction::perFrame(Show& show) {
  const uint32_t now = show.frame.demoTime;
  if (reached(now, endTime)) return StepResult::Done;
  Scene* played = scene->object;
  if (!played) return StepResult::Continue;
  show.openScene();
  show.layer.topTransform() = DeviceLayer::identity;
  const float frame = sceneFrame(startFrame, startTime, speed, now, played->firstFrame, played->lastFrame);
  played->setupCamera(show.layer, frame);
  SceneDraw pass{show.layer, show.random, now};
  played->drawScene(pass, frame);
  return StepResult::Continue;
}

namespace {

std::unique_ptr<Instruction> compileSceneAlpha(int32_t kindCode, FadeSceneAlphaInstruction::Pass pass,
                                               const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<FadeSceneAlphaInstruction>(kindCode, pass);
  if (!instruction) return nullptr;
  instruction->scene = args[0].scene;
  instruction->from = args[1].real;
  instruction->to = args[2].real;
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[3].integer;
  return instruction;
}

}  // namespace

std::unique_ptr<Instruction> FadeSceneAlphaInstruction::compileSolid(const ArgumentRecord& args, CompileState& state) {
  return compileSceneAlpha(33, Pass::Solid, args, state);
}

std::unique_ptr<Instruction> FadeSceneAlphaInstruction::compileWire(const ArgumentRecord& args, CompileState& state) {
  return compileSceneAlpha(34, Pass::Wire, args, state);
}

StepResult FadeSceneAlphaInstruction::perFrame(Show& show) {
  Scene* faded = scene->object;
  const uint32_t now = show.frame.demoTime;
  const bool done = reached(now, endTime);
  if (faded) {
    const float alpha = done ? to : interpolateFloat(from, to, floatFraction(now, startTime, endTime));
    (pass == Pass::Solid ? faded->solidAlpha : faded->wireAlpha) = alpha;
  }
  return done ? StepResult::Done : StepResult::Continue;
}

std::unique_ptr<Instruction> ShowTunnelInstruction::compile(const ArgumentRecord& args, CompileState& state) {
  auto instruction = newInstruction<ShowTunnelInstruction>();
  if (!instruction) return nullptr;
  instruction->scene = args[0].scene;
  instruction->image = args[1].image;
  instruction->startFrame = args[2].integer;
  instruction->startTime = state.scheduleTime;
  instruction->endTime = args[4].integer;
  instruction->speed = compileSceneSpeed(args[2], args[3], state.scheduleTime, args[4].integer);
  return instruction;
}

StepResult ShowTunnelInstruction::perFrame(Show& show) {
  const uint32_t now = show.frame.demoTime;
  if (reached(now, endTime)) return StepResult::Done;
  Scene* flown = scene->object;
  auto* grid = dynamic_cast<GridImage*>(image->object);
  if (!flown || !grid || !flown->currentCamera) return StepResult::Continue;
  show.openScene();
  show.layer.topTransform() = DeviceLayer::identity;
  const float frame = sceneFrame(startFrame, startTime, speed, now, flown->firstFrame, flown->lastFrame);
  const Vec3 eye = flown->cameraEye(show.layer, frame);
  const Vec3 target = flown->cameraTarget(show.layer, frame);
  drawTunnel(show.layer, *grid, eye, target, flown->cameraFov(frame), flown->cameraRoll(frame), TubeDiameter);
  return StepResult::Continue;
}

}  // namespace demo
