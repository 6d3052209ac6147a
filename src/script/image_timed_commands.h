#pragma once
// The timed commands on images: showimage draws one every frame; fadeimage, blurimage,
// spackblurimage, moveimage and sizeimage change its fields over time; verteximage only holds its
// slot. Each changes the image before the drawing of a showimage written after it in the script.

#include "script/command_support.h"

namespace demo {

class ShowImageInstruction : public Instruction {
 public:
  ShowImageInstruction() : Instruction(11) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  // A mode outside 0-7 ends at once without drawing.
  StepResult perFrame(Show& show) override;

  ImageEntry* image = nullptr;
  int32_t endTime = 0;
  int32_t blendMode = 0;
};

class FadeImageInstruction : public Instruction {
 public:
  FadeImageInstruction() : Instruction(12) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  ImageEntry* image = nullptr;
  uint32_t fromColour = 0;
  uint32_t toColour = 0;
  int32_t startTime = 0;
  int32_t endTime = 0;
};

class BlurImageInstruction : public Instruction {
 public:
  BlurImageInstruction() : Instruction(13) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  ImageEntry* image = nullptr;
  int32_t fromLevel = 0;
  int32_t toLevel = 0;
  int32_t startTime = 0;
  int32_t endTime = 0;
};

class SpackBlurImageInstruction : public Instruction {
 public:
  SpackBlurImageInstruction() : Instruction(14) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Remembers the image's blur level, restored at the end, and changes it from this frame on.
  StepResult execute(Show& show) override;
  // Jumps to a random level at random intervals, two draws from the show's generator per jump.
  StepResult perFrame(Show& show) override;

  ImageEntry* image = nullptr;
  int32_t minLevel = 0;
  int32_t maxLevel = 0;
  int32_t minInterval = 0;  // ms
  int32_t maxInterval = 0;  // ms
  int32_t endTime = 0;
  int32_t nextChangeTime = 0;
  int32_t savedLevel = 0;
};

// moveimage and sizeimage: two float fields of the image moved from one pair to another.
class ImageFloatsInstruction : public Instruction {
 public:
  enum class Target { Position, Size };

  ImageFloatsInstruction(int32_t kindCode, Target target) : Instruction(kindCode), target(target) {}
  static std::unique_ptr<Instruction> compileMove(const ArgumentRecord& args, CompileState& state);
  static std::unique_ptr<Instruction> compileSize(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  StepResult perFrame(Show& show) override;

  const Target target;
  ImageEntry* image = nullptr;
  float fromA = 0.0f;  // x or width
  float toA = 0.0f;
  float fromB = 0.0f;  // y or height
  float toB = 0.0f;
  int32_t startTime = 0;
  int32_t endTime = 0;
};

class VertexImageInstruction : public Instruction {
 public:
  VertexImageInstruction() : Instruction(25) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show&) override { return StepResult::Activate; }
  // Nothing visible: the command only occupies its slot until its end time.
  StepResult perFrame(Show& show) override;

  ImageEntry* image = nullptr;
  SceneEntry* scene = nullptr;
  char objectName[64] = {};
  int32_t endTime = 0;
};

}  // namespace demo
