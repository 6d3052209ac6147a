#pragma once
// Captures of tiny shows made for one question each: a square-wave tune written with the XM
// writer, a script naming it, a 64 x 48 picture. Skipped, saying why, where no EGL display opens.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture_options.h"
#include "support/testdata.h"

namespace demo::test {

// The tune's tempo: speed 6, BPM 125, so every tick is 882 output frames long.
inline constexpr uint32_t TickFrames = 882;
inline constexpr uint32_t BlockFrames = 884;  // the audio output's blocks at 44100 Hz
inline constexpr uint32_t Rate = 44100;

class CaptureTest : public ::testing::Test {
 protected:
  void SetUp() override;

  // Writes song.xm, picture.tga (a 64 x 64 checker with alpha) and demo.run, where SONG and
  // PICTURE stand for their paths.
  void writeShow(const std::string& script);
  // A 64 x 48 capture into dir/name.
  CaptureOptions options(const std::string& name, uint32_t fps = 60) const;
  // Runs the capture of demo.run; what it printed is in log.
  int capture(const CaptureOptions& options);

  std::filesystem::path songPath() const { return dir / "song.xm"; }

  TempDir dir;
  std::string log;
};

struct WavSound {
  uint32_t rate = 0;
  uint16_t channels = 0;
  uint16_t bits = 0;
  uint32_t declaredBytes = 0;  // the data chunk's size field
  std::vector<uint8_t> data;   // what follows the header
};
WavSound readWav(const std::filesystem::path& path);

// frame_*.png in name order.
std::vector<std::filesystem::path> frameFiles(const std::filesystem::path& folder);
// The colour of a PNG's top-left pixel as 0xRRGGBB.
uint32_t cornerColour(const std::filesystem::path& png);

// The song's sound exactly as the audio output plays it without interruption: its first `frames`
// output frames, 16-bit stereo.
std::vector<uint8_t> playedSong(const std::filesystem::path& song, uint64_t frames);

// An executable shell script named ffmpeg in `folder`.
void writeFakeFfmpeg(const std::filesystem::path& folder, const std::string& body);

// Files larger than `bytes` cannot be written while the object lives, as on a full disk: writes
// past the limit fail (EFBIG) instead of raising SIGXFSZ, which is ignored meanwhile.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes);
  ~FileSizeLimit();

 private:
  uint64_t saved_;
  void (*savedHandler_)(int);
};

// Sets PATH for the lifetime of the object.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& path);
  ~ScopedPath();

 private:
  std::string saved_;
  bool had_;
};

}  // namespace demo::test
