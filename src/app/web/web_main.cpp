// The show in a web page. The page (page/demo_page.js) fetches the program and the show's archive,
// stores the archive where the executable would be (archive/executable_path.h), asks
// demo_archive_problem whether it can be played, and on the first click calls main with the command
// line it made: "win" for the show, or the capture options of the browser test.
//
// The show runs as on the desktop, but for its loop: a browser frame callback must return, so
// start-up ends where the message pump would begin, and each animation frame then runs one pass of
// the audio output's poll (no threads: this is the output thread's work) and one turn of the pump.

#include <cstdio>
#include <memory>

#include <emscripten.h>
#include <emscripten/html5.h>

#include "app/application.h"
#include "app/capture.h"
#include "app/command_line.h"
#include "app/script_check.h"
#include "app/web/archive_check.h"
#include "cli/program.h"
#include "music/audio_output.h"
#include "platform/web/web_graphics.h"
#include "platform/web/web_host.h"
#include "platform/web/web_page.h"
#include "platform/web/web_wave_out.h"

namespace demo {
namespace {

// One run of the show in the page, made by main and kept by the frame loop until the show ends.
struct WebShow {
  WebShow() : layer(webDirect3DCreate, &graphics), music(wave), application(host, layer, music) {
    music.setThreaded(false);
    host.setWhileSleeping([this] { music.poll(); });
    application.setExternalPump();
  }

  WebHost host;
  WebGraphicsConfig graphics;
  DeviceLayer layer;
  WebWaveOut wave;  // declared before the music, which plays through it
  AudioOutput music;
  Application application;
  uint32_t framesReported = ~0u;
};

EM_BOOL animationFrame(double /*time*/, void* data) {
  auto* show = static_cast<WebShow*>(data);
  show->music.poll();
  const bool going = show->application.pumpTurn();
  const FrameState& frame = show->application.show().frame;
  if (frame.frameCount != show->framesReported) {
    show->framesReported = frame.frameCount;
    demo_page_frame(frame.frameCount, frame.demoTime);
  }
  if (going) return EM_TRUE;
  const int code = show->application.finish();
  delete show;
  demo_page_ended(code);
  return EM_FALSE;
}

int runShow(const CommandLine& commandLine) {
  auto show = std::make_unique<WebShow>();
  const int code = show->application.run(commandLine.showText.c_str());
  if (code != ExitOk) return code;
  emscripten_request_animation_frame_loop(animationFrame, show.release());
  return ExitOk;
}

}  // namespace
}  // namespace demo

// For the page, after it stored the archive: why it cannot be played, or "" (valid until the next
// call). name: how the page calls it.
extern "C" EMSCRIPTEN_KEEPALIVE const char* demo_archive_problem(const char* name) {
  static std::string problem;
  problem = demo::archiveProblem(demo::Archive::process(), name);
  return problem.c_str();
}

int main(int argc, char** argv) {
  using namespace demo;
  const CommandLine commandLine = parseCommandLine(argc, argv);
  int code = ExitOk;
  switch (commandLine.mode) {
    case CommandLine::Mode::Help:
      std::fputs(usageText(commandLine.program).c_str(), stdout);
      break;
    case CommandLine::Mode::Version:
      std::fputs(cli::versionText(commandLine.program).c_str(), stdout);
      break;
    case CommandLine::Mode::Check:
      code = checkScript(commandLine.script.c_str(), stdout, stderr, commandLine.checkFiles);
      break;
    case CommandLine::Mode::Capture:
      code = runCapture(commandLine.capture, commandLine.showText);
      break;
    case CommandLine::Mode::Invalid:
      code = cli::usageError(commandLine.program, commandLine.error);
      break;
    case CommandLine::Mode::Chart:
      // The page has no file system of the user's to write a chart into.
      code = cli::usageError(commandLine.program, "--chart is not available in the browser build");
      break;
    case CommandLine::Mode::Show:
      code = runShow(commandLine);
      if (code == ExitOk) return code;  // the show runs on: the frame loop reports its end
      break;
  }
  demo_page_ended(code);
  return code;
}
