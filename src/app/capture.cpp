#include "app/capture.h"

#include <unistd.h>

#include "app/application.h"
#include "capture/capture_host.h"
#include "capture/interrupt_signals.h"
#include "capture/capture_output.h"
#include "capture/capture_progress.h"
#include "capture/capture_session.h"
#include "capture/capture_graphics.h"
#include "cli/program.h"
#include "music/audio_output.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo {

namespace {

// The last lines of a capture: what was written, or why not; the process status.
int reportCapture(CaptureSession& session, const CaptureProgress& progress, const CaptureOptions& options, int code,
                  std::FILE* log) {
  if (!session.finish()) {
    std::fprintf(log, "demo: capture into %s failed: %s\n", options.output.c_str(), session.error().c_str());
    return ExitCaptureFailed;
  }
  const double elapsed = progress.elapsed();
  const unsigned long long frames = session.frames();
  std::fprintf(log, "demo: captured %s (%.3f s at %u fps) into %s in %.1f s (%.1f frames/s)\n",
               cli::counted(frames, "frame").c_str(), double(frames) / options.fps, options.fps,
               options.output.c_str(), elapsed, elapsed > 0 ? frames / elapsed : 0.0);
  return code;
}

int reportInterruption(CaptureSession& session, const CaptureOptions& options, int signal, std::FILE* log) {
  const unsigned long long frames = session.frames();
  const bool kept = session.finishInterrupted();
  std::fprintf(log, "demo: %s: capture stopped after %s; %s\n", InterruptSignals::name(signal),
               cli::counted(frames, "frame").c_str(),
               kept ? ("they are in " + options.output + " with audio.wav for them").c_str()
                    : ("the unfinished " + options.output + " was removed").c_str());
  return InterruptSignals::exitStatus(signal);
}

}  // namespace

int runCaptureWith(const CaptureGraphics& graphics, const CaptureOptions& options, const std::string& showText,
                   const char* scriptName, std::FILE* log) {
  std::string error;
  const std::unique_ptr<CaptureOutput> output = makeCaptureOutput(options, AudioOutput::OutputRate, error);
  if (!output) {
    std::fprintf(log, "demo: %s\n", error.c_str());
    return ExitCaptureFailed;
  }
  InterruptSignals signals;
  // Declared in the order they are needed: each outlives what uses it.
  CaptureHost host(graphics.window);
  DeviceLayer layer(graphics.direct3d, graphics.direct3dContext);
  VirtualWaveOut wave;
  AudioOutput music(wave);
  music.setThreaded(false);
  Application application(host, layer, music);

  CaptureProgress progress(log, isatty(fileno(log)) != 0, options.frameLimit(), options.fps);
  CaptureRig rig{host, layer, graphics.readBack, wave, music, application.show().frame,
                 [] { return InterruptSignals::received() != 0; }};
  CaptureSession session(options, *output, rig, progress);
  host.onSleep = [&session](uint32_t milliseconds) { session.slept(milliseconds); };
  host.beforeMessage = [&progress] { progress.interrupt(); };
  application.setCaptureMode([&session] { session.frameFinished(); }, uint64_t{FrozenClockSeconds} * options.fps);
  application.setLog(log);

  const int code = application.run(showText.c_str(), scriptName);
  // Start-up failed: its box said why, and nothing was written. A show that stopped at a failing
  // instruction keeps what it showed until then, and its code.
  if (code != ExitOk && code != ExitShowFailed) return code;
  if (const int signal = InterruptSignals::received()) return reportInterruption(session, options, signal, log);
  return reportCapture(session, progress, options, code, log);
}

}  // namespace demo
