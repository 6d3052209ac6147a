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

// A UTF-8 byte-order mark, which some editors write, is not part of the first statement.
void skipByteOrderMark(Reader& reader) {
  const uint8_t* bytes = reader.data();
  if (reader.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) reader.seek(3, SeekStart);
}

// What one readLine took from the script.
struct Piece {
  bool cut = false;     // stopped by the line buffer before the line's end: the rest follows
  bool hasNul = false;  // a NUL would silently end the line early
};

Piece readPiece(Reader& reader, char* line) {
  const uint32_t before = reader.position();
  reader.readLine(line, LineCapacity);
  const uint8_t* raw = reader.data() + before;
  const uint32_t consumed = reader.position() - before;
  Piece piece;
  piece.cut = std::memchr(raw, '\n', consumed) == nullptr && !reader.atEnd();
  for (uint32_t i = 0; i < consumed && raw[i] != '\n'; ++i) piece.hasNul |= raw[i] == 0;
  return piece;
}

// After a cut piece: whether more than a carriage return follows on the line. Asked with the first
// piece rather than the next, so that an error the first piece makes (a statement cut in two)
// comes after the warning that explains it.
bool lineGoesOn(const Reader& reader) {
  const uint8_t* end = reader.data() + reader.size();
  for (const uint8_t* rest = reader.data() + reader.position(); rest < end && *rest != '\n'; ++rest)
    if (*rest != '\r') return true;
  return false;
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
  CompileState& state = show.compiler;
  Program program;
  StatementCompiler compiler(show, program);
  skipByteOrderMark(reader);
  char line[LineCapacity];
  bool continued = false;  // the piece read next belongs to the line of the last one
  while (!reader.atEnd()) {
    if (!continued) ++state.lineNumber;
    const Piece piece = readPiece(reader, line);
    if (piece.cut && !continued && lineGoesOn(reader))
      state.warnings.push_back({state.lineNumber, "line longer than " + std::to_string(LineCapacity - 1) +
                                                      " characters: the rest is read as a line of its own"});
    continued = piece.cut;
    if (piece.hasNul) state.describe("NUL byte in the line (is the script saved as UTF-16?)");
    if (piece.hasNul || !compiler.compileLine(line)) {
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
