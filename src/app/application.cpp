#include "app/application.h"

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/frame_rate_report.h"
#include "app/frame_step.h"
#include "script/compiler.h"
#include "script/flow_commands.h"

namespace demo {

int Application::run(const char* commandLine, const char* scriptName) {
  windowed_ = captureMode_ || wantsWindow(commandLine);
  if (!compileScript(show_, scriptName)) return scriptFailed();
  if (!host_.createWindow("Demo", ScreenWidth, ScreenHeight, windowed_))
    return fail("Isch krisch kein Fenster!", "Kapuuuuuuut!", ExitNoWindow);
  windowAlive_ = true;
  if (layer_.createDevice(host_.windowHandle(), ScreenWidth, ScreenHeight, BitsPerPixel, windowed_ ? 1u : 0u) != 0) {
    layer_.destroyDevice();
    return fail("Scheisendreck Grafik geht net!", "Feeeeehler", ExitNoDevice);
  }
  if (!show_.music.openAudioOutput()) {
    layer_.destroyDevice();
    return fail("Dem Scheisendreck Modplayaaa is kaputt!", "Trasch-Musik!", ExitNoAudio);
  }
  if (!windowed_) host_.showCursor(false);
  tickEnabled_ = true;  // the pump's first step
  if (externalPump_) return ExitOk;
  while (pumpTurn()) {
  }
  return finish();
}

int Application::finish() {
  if (!windowed_) host_.showCursor(true);
  reportShowFailure();
  host_.messageBox(frameRateReport(show_.frame).c_str(), "Feierabend", MessageIcon::Information);
  return show_.failure.failed() ? ExitShowFailed : ExitOk;
}

int Application::scriptFailed() {
  const CompileState& state = show_.compiler;
  log(compileReport(state));
  if (state.lineNumber == 0) return fail("Script is nich da", "Lameralarm!", ExitNoScript);
  const std::string text = "line " + std::to_string(state.lineNumber) + ": " + state.errorText;
  return fail(text.c_str(), "Lameralarm!", ExitNoScript);
}

void Application::reportShowFailure() {
  if (!show_.failure.failed()) return;
  const std::string report = show_.failureReport();
  log(report);
  // Capture prints its boxes on the log already.
  if (!captureMode_) host_.messageBox(report.c_str(), "Lameralarm!", MessageIcon::Error);
}

void Application::log(const std::string& line) {
  if (!log_) return;
  std::fprintf(log_, "%s\n", line.c_str());
  std::fflush(log_);
}

int Application::fail(const char* text, const char* caption, int code) {
  host_.messageBox(text, caption, MessageIcon::Error);
  return code;
}

bool Application::pumpTurn() {
  for (;;) {
    HostEvent event;
    if (host_.pollEvent(event)) {
      if (event.type == HostEvent::Type::Quit) return false;
      dispatch(event);
    } else if (!windowAlive_) {
      return false;  // the quit message got lost; nothing is left to run frames on
    } else {
      if (tickEnabled_) {
        if (frameStep(show_, frameFinished_))
          watchClock();
        else
          destroyMainWindow();
      }
      return true;
    }
  }
}

void Application::watchClock() {
  const AtInstruction* at = unreachableAt(show_);
  if (!at) {
    frozenFrames_ = 0;
    return;
  }
  ++frozenFrames_;
  if (!captureMode_) {
    if (!frozenWarned_)
      log(show_.compiler.fileName + ":" + std::to_string(at->line) + ": warning: " + frozenClockText(show_, *at) +
          "; the picture stays as it is until Escape");
    frozenWarned_ = true;
  } else if (frozenFrames_ >= frozenFrameLimit_) {
    // Nothing would change any more: a capture would run on until its sound file is full.
    show_.fail(*at, frozenClockText(show_, *at));
    destroyMainWindow();
  }
}

void Application::dispatch(const HostEvent& event) {
  switch (event.type) {
    case HostEvent::Type::CloseRequest:
      // The default handling: the window goes, the end operation does not run.
      destroyMainWindow();
      break;
    case HostEvent::Type::KeyDown:
      if (event.key == KeyEscape) {
        tickEnabled_ = false;
        endShow(show_);
        destroyMainWindow();
      }
      break;
    default:
      break;
  }
}

void Application::destroyMainWindow() {
  if (!windowAlive_) return;  // a destroyed window gets no second WM_DESTROY
  windowAlive_ = false;
  host_.destroyWindow();
  layer_.destroyDevice();
  host_.postQuit();
}

}  // namespace demo
