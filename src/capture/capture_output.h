#pragma once
// Where a capture goes: frames (RGB, 8 bits per channel, top row first) and the sound played with
// them (16-bit stereo PCM). Two kinds, picked by the output's name: a folder of PNG frames with
// audio.wav, or a video file encoded by the ffmpeg command.

#include <cstdint>
#include <memory>
#include <string>

#include "capture/capture_options.h"

namespace demo {

class CaptureOutput {
 public:
  virtual ~CaptureOutput() = default;

  // Once, before anything is written; after a start-up failure not at all.
  virtual bool open() = 0;
  virtual bool writeFrame(const uint8_t* rgb) = 0;
  virtual bool writeAudio(const uint8_t* bytes, size_t count) = 0;
  // Completes the output after `frames` frames. Also called after a failure, to clean up: what
  // it returns then does not matter.
  virtual bool finish(uint64_t frames) = 0;
  // After an interruption (SIGINT, SIGTERM): completes what was written when it is worth keeping
  // as it is (a folder of frames and their sound), or removes it; true when something was kept.
  virtual bool finishInterrupted(uint64_t frames) { return finish(frames); }

  // Why the last call failed.
  const std::string& error() const { return error_; }

 protected:
  bool fail(std::string error) {
    error_ = std::move(error);
    return false;
  }

  std::string error_;
};

// The output the options name, after the checks that can be made before the show runs (a folder
// that cannot be made, a file in the way, a missing ffmpeg command, a size a video cannot take).
// Null with the reason in `error`.
std::unique_ptr<CaptureOutput> makeCaptureOutput(const CaptureOptions& options, uint32_t sampleRate,
                                                 std::string& error);

}  // namespace demo
