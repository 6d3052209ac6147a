#include "app/script_check.h"

#include "app/application.h"
#include "app/silent_music.h"
#include "platform/headless/headless_host.h"
#include "script/compiler.h"

namespace demo {

int checkScript(const char* scriptName, std::FILE* out, std::FILE* err) {
  HeadlessHost host;
  DeviceLayer layer(nullptr, nullptr);
  SilentMusic music;
  Show show(host, layer, music);
  if (!compileScript(show, scriptName)) {
    std::fprintf(err, "%s\n", compileReport(show.compiler).c_str());
    return ExitNoScript;
  }
  std::fprintf(out, "%s: %zu instructions, %zu labels\n", scriptName, show.timeline.program().size(),
               show.names.labels.size());
  return ExitOk;
}

}  // namespace demo
