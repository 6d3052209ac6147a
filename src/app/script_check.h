#pragma once
// `demo --check`: compiles a script exactly as the show would (through the archive, then disk) and
// reports, without opening anything else.

#include <cstdio>

namespace demo {

// On success prints "SCRIPT: N instructions, M labels" on out and returns 0. On failure prints
// "SCRIPT:LINE: TEXT" on err, TEXT being the report's message or, where that is empty, what was
// wrong in words, and returns the start-up code for a script error (-6, status 250).
int checkScript(const char* scriptName, std::FILE* out, std::FILE* err);

}  // namespace demo
