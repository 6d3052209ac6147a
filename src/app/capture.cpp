#include "app/capture.h"

#include <unistd.h>

#include "app/application.h"
#include "capture/capture_host.h"
#include "capture/capture_output.h"
#include "capture/capture_progress.h"
#include "capture/capture_session.h"
#include "capture/capture_graphics.h"
#include "music/audio_output.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo {

int runCaptureWith(const CaptureGraphics& graphics, const CaptureOptions& options, const std::string& showText,
                   const char* scriptName, std::FILE* log) {
  std::string error;
  const std::unique_ptr<CaptureOutput> output = makeCaptureOutput(options, AudioOutput::OutputRate, error);
  if (!output) {
    std::fprintf(log, "demo: %s\n", error.c_str());
    return ExitCaptureFailed;
  }
  // Declared in the order they are needed: each outlives what uses it.
  CaptureHost host(graphics.window);
  DeviceLayer layer(graphics.direct3d, graphics.direct3dContext);
  VirtualWaveOut wave;
  AudioOutput music(wave);
  music.setThreaded(false);
  Application application(host, layer, music);

  CaptureProgress progress(log, isatty(fileno(log)) != 0, options.frameLimit(), options.fps);
  CaptureSession session(options, *output, {host, layer, graphics.readBack, wave, music, application.show().frame},
                         progress);
  host.onSleep = [&session](uint32_t milliseconds) { session.slept(milliseconds); };
  host.beforeMessage = [&progress] { progress.interrupt(); };
  application.setCaptureMode([&session] { session.frameFinished(); });

  application.setLog(log);
  const int code = application.run(showText.c_str(), scriptName);
  // Start-up failed: its box said why, and nothing was written. A show that stopped at a failing
  // instruction keeps what it showed until then, and its code.
  if (code != ExitOk && code != ExitShowFailed) return code;
  if (!session.finish()) {
    std::fprintf(log, "demo: capture into %s failed: %s\n", options.output.c_str(), session.error().c_str());
    return ExitCaptureFailed;
  }
  const double elapsed = progress.elapsed();
  const unsigned long long frames = session.frames();
  std::fprintf(log, "demo: captured %llu frame%s (%.3f s at %u fps) into %s in %.1f s (%.1f frames/s)\n", frames,
               frames == 1 ? "" : "s", double(frames) / options.fps, options.fps, options.output.c_str(), elapsed,
               elapsed > 0 ? frames / elapsed : 0.0);
  return code;
}

}  // namespace demo
