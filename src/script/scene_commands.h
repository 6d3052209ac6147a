#pragma once
// The commands on 3D scenes: loadscene, selectcam, setfarplane, playscene, fadesalpha, fadewalpha
// and showtunnel (which flies through the tunnel along a scene's camera).

#include "script/command_support.h"

namespace demo {

class LoadSceneInstruction : public Instruction {
 public:
  LoadSceneInstruction() : Instruction(5) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the scene cannot be loaded.
  StepResult execute(Show& show) override;

  SceneEntry* scene = nullptr;
  char fileName[256] = {};
};

class SelectCamInstruction : public Instruction {
 public:
  SelectCamInstruction() : Instruction(3) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the scene has no camera of that name.
  StepResult execute(Show& show) override;

  SceneEntry* scene = nullptr;
  char cameraName[32] = {};
};

class SetFarPlaneInstruction : public Instruction {
 public:
  SetFarPlaneInstruction() : Instruction(26) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  SceneEntry* scene = nullptr;
  float farDistance = 0.0f;
};

// The speed of playscene and showtunnel in frames per millisecond: "@SPEED" is frames per second;
// an end frame gives (ENDFRAME - STARTFRAME) / (end time - start time), 0 over an empty span.
float compileSceneSpeed(const Argument& startFrame, const Argument& endFrameOrSpeed, int32_t startTime,
                        int32_t endTime);

class PlaySceneInstruction : public Instruction {
 public:
  PlaySceneInstruction() : Instruction(6) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  SceneEntry* scene = nullptr;
  int32_t startFrame = 0;
  int32_t startTime = 0;
  int32_t endTime = 0;
  float speed = 0.0f;  // frames per millisecond; negative plays backwards
};

// fadesalpha and fadewalpha: the opacity of a scene's solid or wireframe pass.
class FadeSceneAlphaInstruction : public Instruction {
 public:
  enum class Pass { Solid, Wire };

  FadeSceneAlphaInstruction(int32_t kindCode, Pass pass) : Instruction(kindCode), pass(pass) {}
  static std::unique_ptr<Instruction> compileSolid(const ArgumentRecord& args, CompileState& state);
  static std::unique_ptr<Instruction> compileWire(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  const Pass pass;
  SceneEntry* scene = nullptr;
  float from = 0.0f;
  float to = 0.0f;
  int32_t startTime = 0;
  int32_t endTime = 0;
};

class ShowTunnelInstruction : public Instruction {
 public:
  static constexpr float TubeDiameter = 1000.0f;

  ShowTunnelInstruction() : Instruction(35) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  // Draws nothing while the scene has no current camera or the image is not a grid image.
  StepResult perFrame(Show& show) override;

  SceneEntry* scene = nullptr;
  ImageEntry* image = nullptr;
  int32_t startFrame = 0;
  int32_t startTime = 0;
  int32_t endTime = 0;
  float speed = 0.0f;
};

}  // namespace demo
