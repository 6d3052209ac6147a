#pragma once
// A capture into a video file through the ffmpeg command. The frames are piped to ffmpeg as raw RGB
// while the show runs and encoded into a video-only file beside the output; the sound goes to a WAV
// file beside it. When the show has ended, a second ffmpeg run joins the two without re-encoding
// the picture. (Piping the sound into the first run as well would need a second pipe that ffmpeg
// drains in its own order: a writer blocked on one pipe while ffmpeg waits on the other deadlocks.)
// Both runs ask for bit-exact containers, so the same show gives the same file.

#include <chrono>
#include <string>

#include "capture/capture_output.h"
#include "capture/piped_command.h"
#include "capture/wav_file.h"

namespace demo {

class VideoOutput final : public CaptureOutput {
 public:
  // How long ffmpeg may take no input at all before the capture gives up on it: far beyond what
  // encoding one frame takes, even of the largest size.
  static constexpr std::chrono::milliseconds DefaultPatience{30000};

  VideoOutput(std::string path, std::string ffmpeg, const CaptureOptions& options, uint32_t sampleRate,
              std::chrono::milliseconds patience = DefaultPatience);
  ~VideoOutput() override;

  bool open() override;
  bool writeFrame(const uint8_t* rgb) override;
  bool writeAudio(const uint8_t* bytes, size_t count) override;
  bool finish(uint64_t frames) override;
  // A video cut short is not kept: ffmpeg is ended and its parts removed.
  bool finishInterrupted(uint64_t frames) override;

  // The two shell commands (for tests and the curious).
  std::string encodeCommand() const;
  std::string joinCommand() const;

 private:
  bool closePipe();
  void removeParts();

  std::string path_, ffmpeg_;
  std::string videoPart_, audioPart_;
  uint32_t width_, height_, fps_, sampleRate_;
  std::chrono::milliseconds patience_;
  PipedCommand encoder_;
  WavFile audio_;
};

}  // namespace demo
