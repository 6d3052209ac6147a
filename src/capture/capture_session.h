#pragma once
// The capture's clock and recorder. Video frame k covers the sound from k x rate / fps to
// (k + 1) x rate / fps (FrameSchedule). After each presented frame the picture is read back and
// written, the virtual wave output plays exactly that frame's samples, the audio output's poll
// renders what the device has left (as its thread would), and the sound played is written: so
// the next frame's clock reading is the one the show would have had at that moment.
//
// A show that sleeps longer than a frame (start pauses two seconds) keeps its last picture on
// screen while the music plays on: every whole frame of such a sleep repeats that picture.
//
// The capture stops the show as Escape would, once --seconds is reached or the output fails.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/capture_graphics.h"
#include "capture/capture_options.h"
#include "capture/capture_output.h"
#include "capture/capture_progress.h"
#include "capture/frame_schedule.h"
#include "gfx/device_layer.h"
#include "music/audio_output.h"
#include "platform/headless/headless_host.h"
#include "platform/headless/virtual_wave_out.h"
#include "script/frame_state.h"

namespace demo {

// Everything the session works with; all must outlive it.
struct CaptureRig {
  HeadlessHost& host;  // takes the Escape that stops the show
  DeviceLayer& layer;
  FrameReadBack readBack;  // of the layer's device
  VirtualWaveOut& wave;
  AudioOutput& music;
  const FrameState& frame;  // for the progress bar's demo time
  // Asked before every frame is recorded: true stops the show there (a signal arrived).
  std::function<bool()> interrupted;
};

class CaptureSession {
 public:
  CaptureSession(const CaptureOptions& options, CaptureOutput& output, CaptureRig rig, CaptureProgress& progress);

  // When the pump's frame is complete, before it is presented.
  void frameFinished();
  // When the show sleeps.
  void slept(uint32_t milliseconds);
  // Completes the output; false when anything was lost (the reason in error()).
  bool finish();
  // After an interruption: what CaptureOutput::finishInterrupted does; true when output was kept.
  bool finishInterrupted();

  uint64_t frames() const { return frames_; }
  bool failed() const { return !error_.empty(); }
  const std::string& error() const { return error_; }

 private:
  void record(const std::vector<uint8_t>& rgb);
  bool openOutput();
  void fail(const std::string& error);
  void stopShow();

  CaptureOutput& output_;
  CaptureRig rig_;
  CaptureProgress& progress_;
  FrameSchedule schedule_;
  std::optional<uint64_t> limit_;
  uint32_t width_, height_;

  uint64_t frames_ = 0;
  static constexpr uint64_t FrameOfSleep = 1000;  // milliseconds x fps

  // Sleep since the last presented frame, in milliseconds x fps. That frame's own time covers one
  // frame's worth; before the first frame nothing does, so a whole frame of sleep is a black frame.
  uint64_t sleepSinceFrame_ = FrameOfSleep;
  std::vector<uint8_t> rgba_;
  std::vector<uint8_t> picture_;  // RGB of the last presented frame: what the screen shows
  bool opened_ = false;
  bool stopped_ = false;
  std::string error_;
};

}  // namespace demo
