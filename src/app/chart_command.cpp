#include "app/chart_command.h"

#include <fstream>

#include "app/application.h"
#include "app/section.h"
#include "chart/timeline_chart.h"
#include "cli/output_file.h"
#include "music/silent_music.h"
#include "platform/headless/headless_host.h"
#include "script/compiler.h"
#include "script/music_commands.h"
#include "script/show_time.h"

namespace demo {
namespace {

// The file the first loadmusic loads: the tune the show plays (a show plays one).
const LoadMusicInstruction* firstLoadMusic(const Program& program) {
  for (const auto& instruction : program)
    if (const auto* load = dynamic_cast<const LoadMusicInstruction*>(instruction.get())) return load;
  return nullptr;
}

bool writeFileWhole(const std::string& output, const std::string& text, std::string& error) {
  cli::OutputFile file(output);
  {
    std::ofstream stream(file.temporary(), std::ios::binary);
    stream << text;
    stream.close();
    if (!stream) {
      error = "cannot write " + file.temporary().string();
      return false;
    }
  }
  return file.commit(error);
}

}  // namespace

int writeChart(const char* scriptName, const std::string& output, std::FILE* out, std::FILE* err) {
  HeadlessHost host;
  DeviceLayer layer(nullptr, nullptr);
  SilentMusic music;
  Show show(host, layer, music);
  if (!compileScript(show, scriptName)) {
    std::fprintf(err, "%s\n", compileReport(show.compiler).c_str());
    return ExitNoScript;
  }
  ChartInput input;
  input.scriptName = scriptName;
  input.statements = &show.compiler.statements;
  input.labels = &show.names.labels;
  input.endTime = scriptEndTime(show);
  TuneSummary tune;
  if (const LoadMusicInstruction* load = firstLoadMusic(show.timeline.program())) {
    std::string error;
    if (summariseTune(load->fileName, chartLength(input), tune, error)) {
      input.tune = &tune;
      input.tuneName = load->fileName;
    } else {
      std::fprintf(err, "%s:%d: warning: the chart goes without the tune: %s\n", scriptName, load->line,
                   error.c_str());
    }
  }
  std::string error;
  if (!writeFileWhole(output, timelineChart(input), error)) {
    std::fprintf(err, "demo: --chart %s: %s\n", output.c_str(), error.c_str());
    return 1;
  }
  std::fprintf(out, "%s: chart of %s written to %s\n", scriptName,
               input.endTime ? ("the show to its end at " + formatShowTime(*input.endTime)).c_str() : "the script",
               output.c_str());
  return 0;
}

}  // namespace demo
