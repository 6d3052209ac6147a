#include "app/script_check.h"

#include "app/application.h"
#include "music/silent_music.h"
#include "platform/headless/headless_host.h"
#include "script/compiler.h"
#include "script/named_files.h"

namespace demo {

int checkScript(const char* scriptName, std::FILE* out, std::FILE* err, bool files) {
  HeadlessHost host;
  DeviceLayer layer(nullptr, nullptr);
  SilentMusic music;
  Show show(host, layer, music);
  const bool compiled = compileScript(show, scriptName);
  for (const CompileWarning& warning : show.compiler.warnings)
    std::fprintf(err, "%s:%d: warning: %s\n", scriptName, warning.line, warning.text.c_str());
  if (!compiled) {
    std::fprintf(err, "%s\n", compileReport(show.compiler).c_str());
    return ExitNoScript;
  }
  const Program& program = show.timeline.program();
  if (files) {
    const auto problems = loadingProblems(program);
    for (const auto& [line, text] : problems) std::fprintf(err, "%s:%d: %s\n", scriptName, line, text.c_str());
    if (!problems.empty()) return ExitShowFailed;
  }
  std::fprintf(out, "%s: %zu instructions, %zu labels%s\n", scriptName, program.size(), show.names.labels.size(),
               files ? ", every file loads" : "");
  return ExitOk;
}

}  // namespace demo
