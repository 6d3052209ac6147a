#pragma once
// loadtexture and freetexture.

#include "script/command_support.h"

namespace demo {

class LoadTextureInstruction : public Instruction {
 public:
  LoadTextureInstruction() : Instruction(7) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  // Stop when the picture cannot be loaded.
  StepResult execute(Show& show) override;

  TextureEntry* texture = nullptr;
  char fileName[256] = {};
  int32_t width = 0;
  int32_t height = 0;
  uint8_t alphaFlag = 0;  // 1 when ALPHAFLAG was not 0
};

class FreeTextureInstruction : public Instruction {
 public:
  // The command table gives freetexture the same kind code as loadtexture; nothing dispatches on it.
  FreeTextureInstruction() : Instruction(7) {}
  static std::unique_ptr<Instruction> compile(const ArgumentRecord& args, CompileState& state);
  StepResult execute(Show& show) override;

  TextureEntry* texture = nullptr;
};

}  // namespace demo
