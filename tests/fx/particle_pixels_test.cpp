// Particle sprites drawn on the headless OpenGL device in showparticles' camera space: where a sprite
// lands for its depth and the image's size, and that overlapping sprites add up.
#include <gtest/gtest.h>

#include "fx/particle_system.h"
#include "fx_fixtures.h"
#include "headless_layer.h"

namespace demo::test {
namespace {

class ParticlePixelsTest : public HeadlessLayerTest {
 protected:
  void TearDown() override {
    system.reset();
    image.reset();
    if (source) source->Release();
  }
  // A system of solid white sprites (texture alpha 255) in the given colour, width and height.
  ParticleSystem& make(D3DCOLOR colour, float size) {
    source = makeSourceTexture(device(), 2, 2, {~0u, ~0u, ~0u, ~0u});
    image = std::make_unique<Image>();
    EXPECT_TRUE(image->initImage(layer, source, 1, 0, 0, 1, 1));
    image->colour = colour;
    image->width = image->height = size;
    system = createParticleSystem(layer, image.get(), 8);
    return *system;
  }
  void place(ParticleSystem& s, float x, float y, float z) {
    for (int axis = 0; axis < 3; ++axis) s.velMin[axis] = s.velMax[axis] = s.accMin[axis] = s.accMax[axis] = 0.0f;
    s.posMin[0] = s.posMax[0] = x;
    s.posMin[1] = s.posMax[1] = y;
    s.posMin[2] = s.posMax[2] = z;
    s.spawnOne(random);
  }
  // One frame as showparticles draws it.
  Frame draw(ParticleSystem& s, D3DCOLOR background) {
    clear(background);
    pointSampling();
    device().SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    SceneDraw pass{layer, random, 0};
    drawInCameraSpace(s, pass);
    return frame();
  }

  Texture* source = nullptr;
  std::unique_ptr<Image> image;
  std::unique_ptr<ParticleSystem> system;
  Random random;
};

TEST_P(ParticlePixelsTest, ASpriteCoversItsSizeOverItsDepthAndSpritesAdd) {
  ParticleSystem& s = make(0xFF406080u, 4.0f);
  place(s, 0, 0, 10);   // half extents 2 at depth 10: 0.2 of the half screen, 6.4 pixels each way
  place(s, 5, 5, 10);   // up and to the right, overlapping nothing
  place(s, 0.5f, 0, 10);  // over the first, a little to the right
  const Frame f = draw(s, 0xFF101010u);
  f.snapshot("particles-additive", GetParam());
  EXPECT_TRUE(near(f.at(30, 32), {0x90, 0xD0, 0xFF}));  // both centred sprites: saturated blue
  EXPECT_TRUE(near(f.at(26, 32), {0x50, 0x70, 0x90}));  // the first one only
  EXPECT_TRUE(near(f.at(24, 32), {0x10, 0x10, 0x10}));  // beside it
  EXPECT_TRUE(near(f.at(48, 16), {0x50, 0x70, 0x90}));  // the one up and right: y grows upwards
  EXPECT_TRUE(near(f.at(48, 48), {0x10, 0x10, 0x10}));
  EXPECT_TRUE(near(f.at(32, 22), {0x10, 0x10, 0x10}));  // above the pair
}

INSTANTIATE_TEST_SUITE_P(Dialects, ParticlePixelsTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
