// The tunnel drawn on the headless OpenGL device: the texture wrapped round the tube as the rays
// see it, and the rays that miss the tube letting the frame show through.
#include <gtest/gtest.h>

#include <memory>

#include "fx/tunnel.h"
#include "fx_fixtures.h"
#include "headless_layer.h"
#include "script/blend_modes.h"

namespace demo::test {
namespace {

class TunnelPixelsTest : public HeadlessLayerTest {
 protected:
  void TearDown() override {
    grid.reset();
    if (source) source->Release();
  }
  // A 16 x 16 grid over a texture red in its left half (u below 0.5) and blue in its right.
  void make() {
    source = makeSourceTexture(device(), 2, 2, {0xFFFF0000u, 0xFF0000FFu, 0xFFFF0000u, 0xFF0000FFu});
    grid = std::make_unique<GridImage>(16, 16, 0.0f, 0.0f, 1.0f, 1.0f);
    ASSERT_TRUE(grid->initImage(layer, source, 0, 0, 0, 1, 1));
  }
  Frame fly(const Vec3& eye, const Vec3& target) {
    clear(0xFF00FF00u);
    pointSampling();
    setBlendStates(device(), *matchBlendKeyword("mixalpha"));
    EXPECT_EQ(drawTunnel(layer, *grid, eye, target, 0.8f, 0.0f, 1000.0f), 1);
    return frame();
  }

  Texture* source = nullptr;
  std::unique_ptr<GridImage> grid;
};

TEST_P(TunnelPixelsTest, TheTubeIsSeenFromInsideAndBesideIt) {
  make();
  // On the axis, looking along it: the top-left ray (-1, 1, 1) meets the wall 354 units ahead
  // (u = 0.12, red); the straight ray at the bottom-right corner never does.
  Frame inside = fly({0, 0, 0}, {0, 0, 1});
  inside.snapshot("tunnel-inside", GetParam());
  EXPECT_TRUE(near(inside.at(0, 0), {255, 0, 0}));
  EXPECT_TRUE(near(inside.at(63, 0), {255, 0, 0}));
  const Rgb corner = inside.at(63, 63);
  EXPECT_GT(corner.g, 64) << "transparent black at the vanishing point lets the frame through";

  // Beside the tube, looking away from it: the upper rays (b above 0.26, the rows above 12 of 16)
  // pass beside it, so the upper part of the frame shows the background alone.
  Frame beside = fly({2000, 0, 0}, {1000, 0, 0});
  beside.snapshot("tunnel-beside", GetParam());
  for (uint32_t y : {0u, 20u, 43u})
    for (uint32_t x : {0u, 31u, 63u}) EXPECT_TRUE(near(beside.at(x, y), {0, 255, 0}, 0)) << x << ", " << y;
  EXPECT_LT(beside.at(10, 62).g, 8) << "the lowest rays meet the tube";
}

INSTANTIATE_TEST_SUITE_P(Dialects, TunnelPixelsTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
