#pragma once
// What every program of the project says the same way: its name (as the user called it, so a copy
// named showcase calls itself showcase), its --version text, and a wrong command line, which is
// status 2 everywhere.

#include <cstdio>
#include <string>

namespace demo::cli {

inline constexpr int ExitUsage = 2;

// The file name of argv[0] without its folder and a ".exe"; `fallback` when argv[0] is empty.
std::string programName(const char* argv0, const char* fallback);

// The one --version text: "NAME VERSION (demo engine, GPL-2.0-or-later)\n".
std::string versionText(const std::string& program);

// True when the command line asks for --help (or -h) or --version before any "--": those answer
// whatever else the line holds.
bool asksForHelp(int argc, const char* const* argv);
bool asksForVersion(int argc, const char* const* argv);

// Answers --help (with `usage`) or --version on `out` when the command line asks for either; true
// when it did, and the program is done (status 0).
bool answerHelpOrVersion(const std::string& program, const std::string& usage, int argc, const char* const* argv,
                         std::FILE* out = stdout);

// "1 frame", "0 frames", "2 members": a count with its noun, singular only for one.
std::string counted(unsigned long long count, const char* noun);

// Prints "NAME: MESSAGE" and a pointer to --help on `out`; returns ExitUsage.
int usageError(const std::string& program, const std::string& message, std::FILE* out = stderr);

}  // namespace demo::cli
