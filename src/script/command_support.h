#pragma once
// What the command constructors share: allocation that yields nothing instead of throwing, and
// copying string arguments into the fixed arrays of the records.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

#include "script/argument.h"
#include "script/compile_state.h"
#include "script/instruction.h"

namespace demo {

using CommandConstructor = std::unique_ptr<Instruction> (*)(const ArgumentRecord& args, CompileState& state);

// A new instruction, or nothing when memory runs out (the compiler reports that with the empty text).
template <class T, class... A>
std::unique_ptr<T> newInstruction(A&&... a) {
  return std::unique_ptr<T>(new (std::nothrow) T(std::forward<A>(a)...));
}

// Copies a string argument into a record array of the given capacity (NUL included). A text that
// does not fit is refused with a description ("WHAT longer than N characters") instead of being
// written past the array.
bool copyArgumentText(char* destination, size_t capacity, const char* text, const char* what, CompileState& state);

}  // namespace demo
