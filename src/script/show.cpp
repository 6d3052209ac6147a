#include "script/show.h"

namespace demo {

StepResult Show::fail(const Instruction& instruction, std::string text) {
  if (!failure.failed()) failure = {instruction.line, std::move(text)};
  return StepResult::Stop;
}

std::string Show::failureReport() const {
  return compiler.fileName + ":" + std::to_string(failure.line) + ": " + failure.text;
}

void Show::openScene() {
  if (frame.sceneOpen) return;
  layer.device()->BeginScene();
  frame.sceneOpen = true;
}

}  // namespace demo
