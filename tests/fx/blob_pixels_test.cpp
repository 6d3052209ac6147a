// Metaballs on the headless OpenGL device after an image has drawn (which turns lighting off): a lit
// solid whose bright side follows the turning light, the environment map following the normals, and
// a wireframe too faint to see. With DEMO_SNAPSHOT_DIR set, the frames are written as PNG files.

#include <gtest/gtest.h>

#include "headless_show.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

constexpr uint32_t Grey = 0xFF202020u;  // the backdrop; green stays at 32 wherever nothing white is drawn

std::vector<uint32_t> picture(uint32_t left, uint32_t right) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) pixels.push_back(x < 32 ? left : right);
  return pixels;
}

struct BlobPixels {
  int count = 0;
  double meanX = 0;
};

class BlobPixelsTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!show.open(160, 120, GetParam()))
      GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
  }
  void play(uint32_t left, uint32_t right) {
    for (const auto& [name, pixels] : {std::pair{"back.tga", picture(Grey, Grey)}, {"env.tga", picture(left, right)}}) {
      const auto bytes = writeTga(TgaLayout{}, 64, 64, pixels);
      writeFile(dir / name, {bytes.begin(), bytes.end()});
    }
    ASSERT_TRUE(show.compile("loadmusic <m> \"song.xm\"\n"
                             "loadtexture <bt> \"" + (dir / "back.tga").string() + "\" 64 64 0\n"
                             "loadtexture <et> \"" + (dir / "env.tga").string() + "\" 64 64 0\n"
                             "makeimage <back> <bt> 0 0 1 1\n"
                             "makeimage <env> <et> 0 0 1 1\n"
                             "makeblobs <b>\n"
                             "start\n"
                             "playmusic <m>\n"
                             "at 0\n"
                             "  showimage <back> copy +9:000\n"
                             "  playblobs <b> <env> +9:000\n"
                             "at 9:000\n"
                             "end\n"))
        << show.show.compiler.errorText;
    ASSERT_TRUE(show.frame(0));
  }
  Frame at(uint32_t demoTime, const std::string& name) {
    EXPECT_TRUE(show.frame(demoTime));
    Frame f = show.read();
    f.snapshot(name + "-" + std::to_string(demoTime), GetParam());
    return f;
  }
  // The pixels of the blobs (not the grey backdrop) for which the test holds.
  template <typename Test>
  static BlobPixels where(const Frame& f, Test test) {
    BlobPixels found;
    for (uint32_t y = 0; y < f.height; ++y)
      for (uint32_t x = 0; x < f.width; ++x) {
        const Rgb c = f.at(x, y);
        if (near(c, {32, 32, 32}, 3) || !test(c)) continue;
        ++found.count;
        found.meanX += x;
      }
    if (found.count) found.meanX /= found.count;
    return found;
  }

  TempDir dir;
  HeadlessShow show;
};

// The light turns a quarter round every 333 ms: from +x at 333 ms, from -x at 1000 ms. The normals
// are the field's gradient, pointing into the balls, so the side lit is the one facing away from
// the light's origin. Lit, a magenta texel runs from 0.45 of its value (ambient only) to all of it.
TEST_P(BlobPixelsTest, ALitSolidWhoseBrightSideFollowsTheLight) {
  play(0xFFC000C0u, 0xFFC000C0u);
  double slope[2] = {};
  int sample = 0;
  for (uint32_t time : {333u, 1000u}) {
    const Frame f = at(time, "blobs-lit");
    auto solid = [](Rgb c) { return c.r > 60; };
    int pixels = 0, darkest = 255, brightest = 0, steps = 0;
    for (uint32_t y = 0; y < f.height; ++y)
      for (uint32_t x = 0; x < f.width; ++x) {
        const Rgb c = f.at(x, y);
        // Each line adds 1 % of its lit grey; where edges of several triangles overlap a few steps add
        // up. Opaque white lines (lighting left off) would reach 255.
        ASSERT_LE(c.g, 60) << "no white wireframe at " << x << ", " << y;
        if (!solid(c)) continue;
        EXPECT_NEAR(c.r, c.b, 3);
        ++pixels;
        darkest = std::min(darkest, c.r);
        brightest = std::max(brightest, c.r);
        if (x + 1 < f.width && solid(f.at(x + 1, y))) {
          slope[sample] += f.at(x + 1, y).r - c.r;
          ++steps;
        }
      }
    ASSERT_GT(pixels, 500) << time;
    // 0.45 of the texel, 89, less a little for the wireframe: drawn without depth test, the lines of
    // the triangles behind each pixel darken it by 1 % each where the light does not reach.
    EXPECT_GE(darkest, 70) << "the ambient part lights every side";
    EXPECT_GE(brightest - darkest, 60) << "shaded, not flat";
    slope[sample++] /= steps;
  }
  EXPECT_GT(slope[0], 0.5) << "lit from +x, brighter to the right";
  EXPECT_LT(slope[1], -0.5) << "lit from -x, brighter to the left";
}

// The left half of the picture red, the right half blue: u = (n.x + 1) / 2 takes the picture's
// right half where the normal points to +x, i.e. on the blobs' left side.
TEST_P(BlobPixelsTest, TheEnvironmentMapFollowsTheNormals) {
  play(0xFFC00000u, 0xFF0000C0u);
  const Frame f = at(1500, "blobs-mapped");
  const BlobPixels red = where(f, [](Rgb c) { return c.r > 40 && c.b < 8; });
  const BlobPixels blue = where(f, [](Rgb c) { return c.b > 40 && c.r < 8; });
  ASSERT_GT(red.count, 100);
  ASSERT_GT(blue.count, 100);
  EXPECT_GT(red.meanX, blue.meanX + 10);
}

INSTANTIATE_TEST_SUITE_P(Api, BlobPixelsTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
