#pragma once
// The commands that make and free images: makeimage, makegridimage and freeimage.

#include <string>

#include "script/command_support.h"

namespace demo {

class MakeImageInstruction : public Instruction {
 public:
  MakeImageInstruction() : Instruction(9) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the image cannot be made (no loaded texture among them).
  StepResult execute(Show& show) override;

  ImageEntry* image = nullptr;
  TextureEntry* texture = nullptr;
  float u0 = 0.0f, v0 = 0.0f, u1 = 0.0f, v1 = 0.0f;
};

class MakeGridImageInstruction : public Instruction {
 public:
  // A grid's row strip addresses 2 x cols + 2 vertices with 16-bit indices, and the vertex array
  // must be allocatable: larger grids fail like any image that cannot be made.
  static constexpr int32_t MaxCells = 32767;
  static constexpr int64_t MaxVertices = int64_t{1} << 22;

  MakeGridImageInstruction() : Instruction(31) {}
  // Why a grid of that size cannot be made, or empty (also asked by `demo --check --files`).
  static std::string gridProblem(int32_t columns, int32_t rows);
  // "makegridimage <g> <t> COLUMNS ROWS", for messages.
  std::string statement() const;
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  ImageEntry* image = nullptr;
  TextureEntry* texture = nullptr;
  int32_t columns = 0;
  int32_t rows = 0;
};

class FreeImageInstruction : public Instruction {
 public:
  FreeImageInstruction() : Instruction(10) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  ImageEntry* image = nullptr;
};

}  // namespace demo
