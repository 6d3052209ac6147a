#pragma once
// The compiler's state for one compilation: the line being read, the message for the report, and
// the time the statements now being compiled will run at.

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

// The fixed messages of the report. Every other error has the empty text.
namespace error_text {
inline constexpr const char* None = "";
inline constexpr const char* LabelRedefinition = "label redefinition";
inline constexpr const char* UndefinedLabel = "undefined label";
inline constexpr const char* UndeclaredImage = "undeclared image";
inline constexpr const char* UndeclaredScene = "undeclared scene";
inline constexpr const char* UndeclaredTexture = "undeclared texture";
inline constexpr const char* UndeclaredMusic = "undeclared music";
inline constexpr const char* UndefinedEffect = "undefined effect";
}  // namespace error_text

// Something that compiles but is probably not what the author meant; --check prints it.
struct CompileWarning {
  int32_t line;
  std::string text;
};

struct CompileState {
  std::string fileName = "demo.run";       // the script, for messages that name it
  int32_t lineNumber = 0;                  // from 1; 0 before the first line (and when the file is missing)
  const char* errorText = error_text::None;
  int32_t scheduleTime = -1;               // -1 before start, 0 after it, then the last at's time
  // What went wrong, in words, for `demo --check` when errorText is empty. The message box keeps
  // the terse report; this never reaches it.
  std::string detail;
  int openStatus = 0;  // the Reader's status when the script cannot be opened (lineNumber 0)
  std::vector<CompileWarning> warnings;

  // Records a failure description unless a more precise one is already there.
  void describe(std::string text) {
    if (detail.empty()) detail = std::move(text);
  }
};

}  // namespace demo
