#include "app/application.h"

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "cli/program.h"
#include "app/frame_rate_report.h"
#include "app/frame_step.h"
#include "script/compiler.h"
#include "script/flow_commands.h"
#include "script/named_files.h"

namespace demo {

int Application::run(const char* commandLine, const char* scriptName) {
  windowed_ = captureMode_ || wantsWindow(commandLine);
  scriptName_ = scriptName;
  if (!compileScript(*show_, scriptName)) return scriptFailed();
  if (!applySection(*show_)) return cli::ExitUsage;
  if (watching_) watchFiles();
  if (!host_.createWindow("Demo", ScreenWidth, ScreenHeight, windowed_))
    return fail("Isch krisch kein Fenster!", "Kapuuuuuuut!", ExitNoWindow);
  windowAlive_ = true;
  if (layer_.createDevice(host_.windowHandle(), ScreenWidth, ScreenHeight, BitsPerPixel, windowed_ ? 1u : 0u) != 0) {
    layer_.destroyDevice();
    return fail("Scheisendreck Grafik geht net!", "Feeeeehler", ExitNoDevice);
  }
  if (!music_.openAudioOutput()) {
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
  host_.messageBox(frameRateReport(show_->frame).c_str(), "Feierabend", MessageIcon::Information);
  return show_->failure.failed() ? ExitShowFailed : ExitOk;
}

int Application::scriptFailed() {
  const CompileState& state = show_->compiler;
  log(compileReport(state));
  if (state.lineNumber == 0) return fail("Script is nich da", "Lameralarm!", ExitNoScript);
  const std::string text = "line " + std::to_string(state.lineNumber) + ": " + state.errorText;
  return fail(text.c_str(), "Lameralarm!", ExitNoScript);
}

void Application::reportShowFailure() {
  if (!show_->failure.failed()) return;
  const std::string report = show_->failureReport();
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
        if (frameStep(*show_, frameFinished_)) {
          watchClock();
          // A fresh show starts its music in its first frames: a pause outlives the seek.
          if (paused_ && !music_.paused()) music_.pause();
          if (reloadSeen_ && show_->frame.frameCount > 0) {
            const auto took = std::chrono::steady_clock::now() - *reloadSeen_;
            log(scriptName_ + ": reloaded, the first new frame " +
                std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()) +
                " ms after the change was seen");
            reloadSeen_.reset();
          }
          if (watching_) pollWatch();
          if (windowed_ && !captureMode_) updateTitle();
        } else {
          frameStopped();
        }
      }
      return true;
    }
  }
}

bool Application::applySection(Show& show) {
  std::string error;
  if (!resolveSection(section_, show, sectionTimes_, error)) {
    log(show.compiler.fileName + ": " + error);
    return false;
  }
  // --loop without --to goes round at the script's end.
  if (section_.loop && !sectionTimes_.to) sectionTimes_.to = scriptEndTime(show);
  looping_ = section_.loop;
  loopFrom_ = sectionTimes_.from.value_or(0);
  loopTo_ = sectionTimes_.to;
  show.range.from = sectionTimes_.from;
  applyRange(show);
  return true;
}

void Application::applyRange(Show& show) const { show.range.to = looping_ ? loopTo_ : sectionTimes_.to; }

void Application::frameStopped() {
  if (show_->range.toReached && looping_ && !captureMode_ && restartShow(loopFrom_)) return;
  // --to ends the show as `end` does.
  if (show_->range.toReached) endShow(*show_);
  destroyMainWindow();
}

bool Application::restartShow(uint32_t from, std::string* problem, bool checkFiles) {
  auto fresh = std::make_unique<Show>(host_, layer_, music_);
  if (!compileScript(*fresh, scriptName_.c_str())) {
    log(compileReport(fresh->compiler));
    if (problem) *problem = compileReport(fresh->compiler);
    return false;
  }
  if (checkFiles) {
    // A picture, scene or tune that would stop the new show keeps the old one running instead.
    const auto problems = loadingProblems(fresh->timeline.program());
    for (const auto& [line, text] : problems) log(scriptName_ + ":" + std::to_string(line) + ": " + text);
    if (!problems.empty()) {
      if (problem) *problem = scriptName_ + ":" + std::to_string(problems.front().first) + ": " + problems.front().second;
      return false;
    }
  }
  // The labels may have moved (a reload): the section is resolved again. A loop the keys made
  // stays as it is.
  const bool keysLoop = looping_ && !section_.loop;
  const uint32_t keptFrom = loopFrom_;
  const std::optional<uint32_t> keptTo = loopTo_;
  if (!applySection(*fresh)) return false;
  if (keysLoop) {
    looping_ = true;
    loopFrom_ = keptFrom;
    loopTo_ = keptTo;
    applyRange(*fresh);
  }
  fresh->range.from = from;
  // The old show goes first: freeing its music stops the sound before the new show starts its own.
  show_ = std::move(fresh);
  frozenFrames_ = 0;
  return true;
}

void Application::watchFiles() {
  std::vector<std::string> names{scriptName_};
  for (const NamedFile& file : namedFiles(show_->timeline.program())) names.push_back(file.name);
  watch_.watch(names);
}

void Application::pollWatch() {
  const auto now = std::chrono::steady_clock::now();
  if (now < nextWatch_) return;
  nextWatch_ = now + watchInterval_;
  if (watch_.changed()) reload();
}

void Application::reload() {
  const auto began = std::chrono::steady_clock::now();
  std::string problem;
  if (restartShow(show_->frame.demoTime, &problem, true)) {
    reloadProblem_.clear();
    reloadSeen_ = began;  // the first frame the fresh show presents reports the time
  } else {
    reloadProblem_ = problem;
  }
  // What the show now running loads (the old one's again after a failure: a fix is seen too).
  watchFiles();
  title_.clear();
}

void Application::watchClock() {
  const AtInstruction* at = unreachableAt(*show_);
  if (!at) {
    frozenFrames_ = 0;
    return;
  }
  ++frozenFrames_;
  if (!captureMode_) {
    if (!frozenWarned_)
      log(show_->compiler.fileName + ":" + std::to_string(at->line) + ": warning: " + frozenClockText(*show_, *at) +
          "; the picture stays as it is until Escape");
    frozenWarned_ = true;
  } else if (frozenFrames_ >= frozenFrameLimit_) {
    // Nothing would change any more: a capture would run on until its sound file is full.
    show_->fail(*at, frozenClockText(*show_, *at));
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
      if (!captureMode_ && editKey(event.key)) break;
      if (event.key == KeyEscape) {
        tickEnabled_ = false;
        endShow(*show_);
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
