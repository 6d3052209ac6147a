#pragma once
// compileScript: turns demo.run into the instruction list, completely, before any window exists.
// Every name is resolved and every time computed here; any error stops the compilation, leaving the
// line number and the report text in show.compiler.
//
// Loader contract: archive/loader_contract.h.

#include <string>

#include "archive/reader.h"
#include "script/show.h"

namespace demo {

// The size of the line buffer: a line holds at most 255 characters, longer lines are read as
// several pieces, each compiled as a line of its own but counted as the one line they stand on
// (and warned about).
inline constexpr uint32_t LineCapacity = 256;

// Opens the file through a Reader (archive first, then disk). On failure lineNumber is 0 when the
// file cannot be opened, else the line of the error. On success the timeline holds the program and
// is reset.
bool compileScript(Show& show, const char* fileName);
// The same over a reader that already holds the script.
bool compileScript(Show& show, Reader& reader);

// A failed compilation as --check reports it: "SCRIPT:LINE: TEXT", TEXT being the report's message
// or, where that is empty, what was wrong in words; "SCRIPT: cannot be opened: REASON" for a script
// that cannot be opened.
std::string compileReport(const CompileState& state);

}  // namespace demo
