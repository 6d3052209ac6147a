#pragma once
// The particle commands: makeparticles, showparticles, partobject, partpos, partspd, partacc and
// partlife. They act on the particle system registered under the effect name, and on nothing when
// the name holds no particle system.

#include "script/command_support.h"

namespace demo {

class MakeParticlesInstruction : public Instruction {
 public:
  MakeParticlesInstruction() : Instruction(17) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when no system can be made: no image under the name, or a maximum count of 0.
  StepResult execute(Show& show) override;

  EffectEntry* effect = nullptr;
  ImageEntry* image = nullptr;
  int32_t maxCount = 0;
};

class ShowParticlesInstruction : public Instruction {
 public:
  ShowParticlesInstruction() : Instruction(18) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Restarts the system at the current time, then activates.
  StepResult execute(Show& show) override;
  // Draws in camera space: a 90-degree projection and an identity world, both restored afterwards.
  StepResult perFrame(Show& show) override;

  EffectEntry* effect = nullptr;
  int32_t endTime = 0;
};

class PartObjectInstruction : public Instruction {
 public:
  PartObjectInstruction() : Instruction(19) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the scene has no object node of that name.
  StepResult execute(Show& show) override;

  EffectEntry* effect = nullptr;
  SceneEntry* scene = nullptr;
  char objectName[64] = {};
};

// partpos, partspd and partacc: a birth box from (MINX, MINY, MINZ) to (MAXX, MAXY, MAXZ).
class ParticleBoxInstruction : public Instruction {
 public:
  enum class Box { Position, Velocity, Acceleration };

  ParticleBoxInstruction(int32_t kindCode, Box box) : Instruction(kindCode), box(box) {}
  static std::unique_ptr<Instruction> compilePosition(const ArgumentRecord& args, CompileState& state);
  static std::unique_ptr<Instruction> compileVelocity(const ArgumentRecord& args, CompileState& state);
  static std::unique_ptr<Instruction> compileAcceleration(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  const Box box;
  EffectEntry* effect = nullptr;
  float minimum[3] = {};
  float maximum[3] = {};
};

class PartLifeInstruction : public Instruction {
 public:
  PartLifeInstruction() : Instruction(23) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  EffectEntry* effect = nullptr;
  float birthRate = 0.0f;  // seconds between births
  float minLife = 0.0f;
  float maxLife = 0.0f;
};

}  // namespace demo
