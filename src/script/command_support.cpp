#include "script/command_support.h"

#include <cstring>
#include <string>

namespace demo {

bool copyArgumentText(char* destination, size_t capacity, const char* text, const char* what, CompileState& state) {
  const size_t length = std::strlen(text);
  if (length >= capacity) {
    state.describe(std::string(what) + " longer than " + std::to_string(capacity - 1) + " characters");
    return false;
  }
  std::memcpy(destination, text, length + 1);
  return true;
}

}  // namespace demo
