#pragma once
// A capture into a folder: frame_000000.png, frame_000001.png, ... and audio.wav beside them.

#include <filesystem>
#include <memory>
#include <string>

#include "capture/background_png_writer.h"
#include "capture/capture_output.h"
#include "capture/wav_file.h"

namespace demo {

class PngFolderOutput final : public CaptureOutput {
 public:
  PngFolderOutput(std::filesystem::path folder, uint32_t width, uint32_t height, uint32_t sampleRate)
      : folder_(std::move(folder)), width_(width), height_(height), sampleRate_(sampleRate) {}

  // Before the show runs: false when a file of that name is in the way. The folder itself is made
  // by open(), once the script has compiled, so a script error leaves nothing behind.
  bool prepare();

  bool open() override;
  bool writeFrame(const uint8_t* rgb) override;
  bool writeAudio(const uint8_t* bytes, size_t count) override;
  bool finish(uint64_t frames) override;

  // frame_NNNNNN.png: six digits, more only past a million frames.
  static std::string frameName(uint64_t index);

 private:
  bool makeFolder();
  // Frames of an earlier, longer capture would otherwise seem to belong to this one.
  bool removeOldFrames();

  std::filesystem::path folder_;
  uint32_t width_, height_, sampleRate_;
  bool opened_ = false;
  uint64_t written_ = 0;
  std::unique_ptr<BackgroundPngWriter> frames_;
  WavFile audio_;
};

}  // namespace demo
