// End to end through the built xmrender: XM panning 0 is the left, 255 the right channel of the WAV.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "music_fixtures.h"

namespace demo {
namespace {

constexpr uint8_t C4 = 49;

struct StereoSums {
  uint64_t left = 0, right = 0;  // sums of |sample|
  size_t frames = 0;
};

// The frames of a 16-bit stereo WAV, found through its "data" chunk.
StereoSums stereoSums(const std::vector<unsigned char>& wav) {
  StereoSums sums;
  size_t at = 12;
  while (at + 8 <= wav.size()) {
    uint32_t size = 0;
    std::memcpy(&size, &wav[at + 4], 4);
    if (std::memcmp(&wav[at], "data", 4) == 0) {
      const size_t end = std::min(wav.size(), at + 8 + size);
      for (size_t i = at + 8; i + 4 <= end; i += 4) {
        sums.left += static_cast<uint64_t>(std::abs(static_cast<int16_t>(wav[i] | wav[i + 1] << 8)));
        sums.right += static_cast<uint64_t>(std::abs(static_cast<int16_t>(wav[i + 2] | wav[i + 3] << 8)));
        ++sums.frames;
      }
      break;
    }
    at += 8 + size + (size & 1);
  }
  return sums;
}

StereoSums render(uint8_t panning) {
  XmSong song = test::basicSong(1);
  song.cell(0, 0, 0) = {C4, 1, 0, 0x8, panning};
  test::TempDir dir;
  saveXm(dir / "panned.xm", song);
  const std::string command = std::string("'") + XMRENDER_EXE + "' '" + (dir / "panned.xm").string() + "' '" +
                              (dir / "panned.wav").string() + "' --seconds 1 > /dev/null 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  return stereoSums(test::readFile(dir / "panned.wav"));
}

TEST(StereoRender, PanningFFPlaysOnTheRightOnlyAnd00OnTheLeftOnly) {
  const StereoSums right = render(0xFF);
  EXPECT_EQ(right.frames, 44100u);
  EXPECT_EQ(right.left, 0u) << "8FF must leave the left channel silent";
  EXPECT_GT(right.right, 0u);
  const StereoSums left = render(0x00);
  EXPECT_GT(left.left, 0u);
  EXPECT_EQ(left.right, 0u) << "800 must leave the right channel silent";
  EXPECT_EQ(left.left, right.right) << "the two are mirror images";
}

}  // namespace
}  // namespace demo
