#pragma once
// `demo --check`: compiles a script exactly as the show would (through the archive, then disk) and
// reports; with --files it also loads every file the script names, as the show would, without
// opening a window or a device.

#include <cstdio>

namespace demo {

// On success prints "SCRIPT: N instructions, M labels" on out and returns 0. On failure prints
// "SCRIPT:LINE: TEXT" on err, TEXT being the report's message or, where that is empty, what was
// wrong in words, and returns the start-up code for a script error (-6, status 250). Warnings
// ("SCRIPT:LINE: warning: TEXT") go to err either way. With `files`, every file that cannot be
// loaded is reported as "SCRIPT:LINE: STATEMENT: REASON" and the result is the code a show
// stopped by it would end with (-3, status 253).
int checkScript(const char* scriptName, std::FILE* out, std::FILE* err, bool files = false);

}  // namespace demo
