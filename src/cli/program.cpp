#include "cli/program.h"

#include <cstring>

namespace demo::cli {

namespace {

bool asks(int argc, const char* const* argv, const char* name, const char* alias) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    if (std::strcmp(argv[i], name) == 0 || (alias && std::strcmp(argv[i], alias) == 0)) return true;
  }
  return false;
}

}  // namespace

std::string programName(const char* argv0, const char* fallback) {
  std::string name = argv0 ? argv0 : "";
  const size_t slash = name.find_last_of("/\\");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  if (name.size() > 4) {
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (extension == ".exe") name.resize(name.size() - 4);
  }
  return name.empty() ? fallback : name;
}

std::string versionText(const std::string& program) {
  return program + " " + DEMO_VERSION + " (demo engine, GPL-2.0-or-later)\n";
}

bool asksForHelp(int argc, const char* const* argv) { return asks(argc, argv, "--help", "-h"); }

bool asksForVersion(int argc, const char* const* argv) { return asks(argc, argv, "--version", nullptr); }

bool answerHelpOrVersion(const std::string& program, const std::string& usage, int argc, const char* const* argv,
                         std::FILE* out) {
  if (asksForHelp(argc, argv))
    std::fputs(usage.c_str(), out);
  else if (asksForVersion(argc, argv))
    std::fputs(versionText(program).c_str(), out);
  else
    return false;
  return true;
}

std::string counted(unsigned long long count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

int usageError(const std::string& program, const std::string& message, std::FILE* out) {
  std::fprintf(out, "%s: %s\n(%s --help shows the usage)\n", program.c_str(), message.c_str(), program.c_str());
  return ExitUsage;
}

}  // namespace demo::cli
