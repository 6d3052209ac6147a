// A short show of two textured images in several blend modes, faded, moved, sized and blurred, then
// the 2D blobs over a 64 x 64 grid image: compiled and stepped by the show's own frame step on the
// headless OpenGL device. With DEMO_SNAPSHOT_DIR set, every checked frame is written as a PNG.
#include <gtest/gtest.h>

#include <cmath>

#include "headless_show.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

// Red and dark blue squares of 8 x 8 with a white diagonal: easy to follow through a warp.
std::vector<uint32_t> checkerPicture() {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      pixels.push_back(x == y ? 0xFFFFFFFFu : ((x / 8 + y / 8) % 2 ? 0xFF2020A0u : 0xFFE02020u));
  return pixels;
}

// A yellow disc, opaque inside radius 24 and transparent outside.
std::vector<uint32_t> discPicture() {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      pixels.push_back(std::hypot(x - 31.5, y - 31.5) < 24 ? 0xFFFFFF00u : 0x00000000u);
  return pixels;
}

class LayeredShowTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!show.open(160, 120, GetParam()))
      GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
    const auto a = writeTga(TgaLayout{}, 64, 64, checkerPicture());
    const auto b = writeTga(TgaLayout{}, 64, 64, discPicture());
    writeFile(dir / "a.tga", {a.begin(), a.end()});
    writeFile(dir / "b.tga", {b.begin(), b.end()});
  }
  Frame at(uint32_t demoTime) {
    EXPECT_TRUE(show.frame(demoTime));
    Frame f = show.read();
    f.snapshot("layered-" + std::to_string(demoTime), GetParam());
    return f;
  }

  TempDir dir;
  HeadlessShow show;
};

TEST_P(LayeredShowTest, ImagesBlendFadeMoveBlurAndTheBlobsWarpTheGrid) {
  ASSERT_TRUE(show.compile("loadmusic <m> \"song.xm\"\n"
                           "loadtexture <a> \"" + (dir / "a.tga").string() + "\" 64 64 0\n"
                           "loadtexture <b> \"" + (dir / "b.tga").string() + "\" 64 64 1\n"
                           "makeimage <pa> <a> 0 0 1 1\n"
                           "makeimage <pb> <b> 0 0 1 1\n"
                           "makegridimage <g> <a> 64 64\n"
                           "make2dblobs <f> <g>\n"
                           "start\n"
                           "playmusic <m>\n"
                           "at 0\n"
                           "  sizeimage <pb> 0.5 0.5 0.5 0.5 +0\n"
                           "  moveimage <pb> 0.25 0.25 0.25 0.25 +0\n"
                           "  showimage <pa> copy +2:000\n"
                           "  showimage <pb> mixalpha +2:000\n"
                           "at 2:000\n"
                           "  fadeimage <pa> 0xff000000 0xffffffff +2:000\n"
                           "  moveimage <pb> 0 0.5 0.25 0.25 +2:000\n"
                           "  blurimage <pb> 0 20 +2:000\n"
                           "  showimage <pa> copy +2:000\n"
                           "  showimage <pb> add +2:000\n"
                           "at 4:000\n"
                           "  blurimage <pb> 20 0 +0\n"
                           "  show2dblobs <f> +2:000\n"
                           "  showimage <pb> addalpha +2:000\n"
                           "at 6:000\n"
                           "end\n"))
      << show.show.compiler.errorText;
  ASSERT_TRUE(show.frame(0));

  // The checker fills the screen, 2.5 x 1.875 pixels a texel; the disc covers the middle quarter and
  // mixes in opaquely. The pixels checked lie inside squares, away from the diagonal.
  Frame f = at(1000);
  EXPECT_TRUE(near(f.at(12, 4), {230, 32, 33}, 3)) << "red square, R5G6B5";
  EXPECT_TRUE(near(f.at(80, 60), {255, 255, 0}, 1)) << "the disc's centre";
  EXPECT_TRUE(near(f.at(56, 32), {230, 32, 33}, 3)) << "the disc's transparent corner shows the checker";

  // Half-way through the fade the checker is at 127/255; the disc, moving right, is added.
  f = at(3000);
  EXPECT_TRUE(near(f.at(12, 4), {115, 16, 16}, 3));
  EXPECT_TRUE(near(f.at(70, 67), {255, 255, 82}, 3)) << "yellow added to a faded blue square";
  EXPECT_EQ(show.show.names.images.findName("pb")->object->blurLevel, 10);

  // The blobs recolour the grid with blue and green only: where it is not covered, red is gone.
  at(4500);
  f = at(5000);
  for (uint32_t y = 4; y < 120; y += 23) ASSERT_EQ(f.at(4, y).r, 0) << "row " << y;
  EXPECT_TRUE(near(f.at(120, 60), {255, 255, f.at(120, 60).b}, 1)) << "the sharp disc added at its last place";
  at(5500);
  EXPECT_FALSE(show.frame(6000)) << "end";
}

INSTANTIATE_TEST_SUITE_P(Api, LayeredShowTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
