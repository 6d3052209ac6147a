#pragma once
// Parses one argument of a statement in place in the line buffer: the kinds its argument word
// allows are tried in a fixed order from the same position, and the first that succeeds supplies
// the value. Names are resolved (or declared) in the registries and times computed right here.

#include <cstdint>

#include "script/argument.h"
#include "script/compile_state.h"
#include "script/registries.h"

namespace demo {

// Blanks are the bytes 1 to 32: space, tab, carriage return and the other control characters.
// Bytes 128 to 255 are not blanks.
inline bool isBlank(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 1 && byte <= 32;
}

inline char* skipBlanks(char* p) {
  while (isBlank(*p)) ++p;
  return p;
}

// The fields of a time, A, A:B or A:B:C, in milliseconds (A:B:C is minutes, seconds, milliseconds);
// q moves past them. False, perhaps with a reason in `why`, when no digit starts them.
bool readTimeFields(const char*& q, uint32_t& ms, const char*& why);
bool readTimeFields(char*& q, uint32_t& ms, const char*& why);

class ArgumentParser {
 public:
  ArgumentParser(Registries& names, CompileState& state) : names_(names), state_(state) {}

  // Parses argument `index` (from 0) described by `word` at p, after blanks and a comment cut.
  // On success p moves past it and record[index] holds it. On failure errorText names the missing
  // name or label where there is one, and state.detail says what was wrong.
  bool parse(char*& p, uint32_t word, ArgumentRecord& record, int index);

  // A time: optionally "[label]", blanks, "+", then one to three fields A, A:B or A:B:C.
  bool parseTime(char*& p, int32_t& value);

 private:
  bool tryKind(uint32_t kind, char*& p, uint32_t word, ArgumentRecord& record, Argument& out);
  bool tryNumber(uint32_t kind, char*& p, uint32_t word, ArgumentRecord& record, Argument& out);
  template <class T>
  bool tryName(char*& p, NameList<T>& list, bool declare, const char* undeclaredText, NameEntry<T>*& out);
  bool tryString(char*& p, Argument& out);

  Registries& names_;
  CompileState& state_;
  const char* why_ = nullptr;  // the most telling reason the last try failed
};

}  // namespace demo
