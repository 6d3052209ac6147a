// PNG frames written on their own thread: each file gets the frame as it was handed over, and a
// failed write is reported, never lost.
#include "capture/background_png_writer.h"

#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "gfx/png_file.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

TEST(BackgroundPngWriter, EachFileHoldsTheFrameAsHandedOverWhileTheBufferIsReused) {
  TempDir dir;
  std::vector<uint8_t> frame(4 * 2 * 3);
  {
    BackgroundPngWriter writer(4, 2);
    for (uint8_t k = 0; k < 20; ++k) {
      std::fill(frame.begin(), frame.end(), static_cast<uint8_t>(k * 10));
      ASSERT_TRUE(writer.write((dir / ("f" + std::to_string(k) + ".png")).string(), frame.data()));
    }
    ASSERT_TRUE(writer.finish()) << writer.error();
  }
  for (int k = 0; k < 20; ++k) {
    std::vector<uint8_t> rgba;
    uint32_t width = 0, height = 0;
    ASSERT_TRUE(readPng((dir / ("f" + std::to_string(k) + ".png")).c_str(), rgba, width, height));
    EXPECT_EQ(width, 4u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(rgba[0], k * 10) << "frame " << k;
    EXPECT_EQ(rgba[rgba.size() - 2], k * 10) << "frame " << k;
  }
}

TEST(BackgroundPngWriter, AFailedWriteIsReportedAndStopsFurtherWrites) {
  TempDir dir;
  const std::vector<uint8_t> frame(4 * 2 * 3, 7);
  BackgroundPngWriter writer(4, 2);
  const std::string missing = (dir / "no-such-folder" / "f.png").string();
  EXPECT_TRUE(writer.write(missing, frame.data())) << "handing over succeeds; the failure comes later";
  EXPECT_FALSE(writer.finish());
  EXPECT_NE(writer.error().find(missing), std::string::npos) << writer.error();
  EXPECT_FALSE(writer.write((dir / "g.png").string(), frame.data()));
}

TEST(BackgroundPngWriter, AFrameTheDiskCannotHoldLeavesNoFileBehind) {
  TempDir dir;
  std::vector<uint8_t> noise(256 * 256 * 3);
  uint32_t state = 1;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 214013 + 2531011) >> 16);
  BackgroundPngWriter writer(256, 256);
  {
    const FileSizeLimit disk(16 * 1024);
    ASSERT_TRUE(writer.write((dir / "f.png").string(), noise.data()));
    EXPECT_FALSE(writer.finish());
  }
  EXPECT_NE(writer.error().find("f.png: cannot write the file: File too large"), std::string::npos) << writer.error();
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "neither the frame nor its temporary file may stay";
}

}  // namespace
}  // namespace demo::test
