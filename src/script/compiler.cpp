#include "script/compiler.h"

#include <cstring>
#include <string>

#include "archive/read_status.h"
#include "script/argument_parser.h"
#include "script/command_table.h"

namespace demo {

namespace {

class StatementCompiler {
 public:
  StatementCompiler(Show& show, Program& program)
      : show_(show), state_(show.compiler), program_(program), arguments_(show.names, show.compiler) {}

  // Any number of statements, labels and a comment; false at the first error.
  bool compileLine(char* line);

 private:
  bool defineLabel(char*& p, char* close);
  bool compileStatement(char*& p);

  Show& show_;
  CompileState& state_;
  Program& program_;
  ArgumentParser arguments_;
};

bool StatementCompiler::compileLine(char* line) {
  char* p = line;
  for (;;) {
    if (*p == '\0') return true;
    if (isBlank(*p)) {
      p = skipBlanks(p);
    } else if (*p == '#') {
      *p = '\0';
    } else if (char* close = *p == '[' ? std::strchr(p + 1, ']') : nullptr) {
      if (!defineLabel(p, close)) return false;
    } else if (!compileStatement(p)) {
      return false;
    }
  }
}

bool StatementCompiler::defineLabel(char*& p, char* close) {
  *close = '\0';
  const char* name = p + 1;
  if (std::strlen(name) >= NameCapacity) {
    state_.describe("label name longer than 31 characters");
    return false;
  }
  if (show_.names.labels.findName(name)) {
    state_.errorText = error_text::LabelRedefinition;
    return false;
  }
  show_.names.labels.declareName(name)->object = state_.scheduleTime;
  p = close + 1;
  return true;
}

bool StatementCompiler::compileStatement(char*& p) {
  const CommandEntry* command = matchCommand(p);
  if (!command) {
    size_t length = 0;
    while (p[length] && !isBlank(p[length]) && length < 32) ++length;
    state_.describe("unknown command \"" + std::string(p, length) + "\"");
    return false;
  }
  p += std::strlen(command->keyword);
  ArgumentRecord record;
  for (int i = 0; command->words[i] != 0; ++i)
    if (!arguments_.parse(p, command->words[i], record, i)) return false;
  if (program_.size() >= Timeline::MaxInstructions) {
    state_.describe("more than " + std::to_string(Timeline::MaxInstructions) + " instructions");
    return false;
  }
  std::unique_ptr<Instruction> instruction = command->construct(record, state_);
  if (!instruction) {
    state_.describe("out of memory");
    return false;
  }
  instruction->line = state_.lineNumber;
  program_.push_back(std::move(instruction));
  return true;
}

void resetCompiler(Show& show) {
  show.timeline.load({});
  show.compiler.scheduleTime = -1;
  show.compiler.lineNumber = 0;
  show.compiler.errorText = error_text::None;
  show.compiler.detail.clear();
  show.compiler.openStatus = ReadOk;
  show.compiler.warnings.clear();
}

}  // namespace

bool compileScript(Show& show, const char* fileName) {
  resetCompiler(show);
  show.compiler.fileName = fileName;
  Reader reader;
  if (const int status = reader.open(fileName); status != ReadOk) {
    show.compiler.openStatus = status;
    show.compiler.describe(readStatusText(status));
    return false;
  }
  return compileScript(show, reader);
}

std::string compileReport(const CompileState& state) {
  if (state.lineNumber == 0) return state.fileName + ": cannot be opened: " + state.detail;
  const char* text = *state.errorText ? state.errorText : state.detail.c_str();
  return state.fileName + ":" + std::to_string(state.lineNumber) + ": " + text;
}

bool compileScript(Show& show, Reader& reader) {
  resetCompiler(show);
  Program program;
  StatementCompiler compiler(show, program);
  char line[LineCapacity];
  while (!reader.atEnd()) {
    ++show.compiler.lineNumber;
    reader.readLine(line, sizeof line);
    if (!compiler.compileLine(line)) {
      reader.release();
      return false;  // every instruction compiled so far is released with `program`
    }
  }
  reader.release();
  show.timeline.load(std::move(program));
  show.timeline.resetTimeline(show.frame);
  return true;
}

}  // namespace demo
