#pragma once
// The script's vocabulary: every command's keyword, the words describing its arguments and its
// constructor. Keywords are matched in table order, so the order is part of the language.

#include <cstdint>

#include "script/argument.h"
#include "script/command_support.h"

namespace demo {

struct CommandEntry {
  const char* keyword;
  uint32_t words[MaxArguments + 1];  // zero-terminated
  CommandConstructor construct;
};

inline constexpr int CommandCount = 36;
extern const CommandEntry commandTable[CommandCount];

// The first command, in table order, whose keyword the text begins with (ignoring case, no
// separator needed after it), or null.
const CommandEntry* matchCommand(const char* text);

}  // namespace demo
