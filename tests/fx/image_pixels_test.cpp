// Images drawn on the headless OpenGL device: where the quad lands, which part of the texture it
// shows, and what each blend mode makes of known colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fx/grid_image.h"
#include "fx/image.h"
#include "fx_fixtures.h"
#include "headless_layer.h"
#include "script/blend_modes.h"

namespace demo::test {
namespace {

constexpr D3DCOLOR Red = 0xFFFF0000u, Green = 0xFF00FF00u, Blue = 0xFF0000FFu, White = 0xFFFFFFFFu;
constexpr D3DCOLOR Background = 0xFF408020u;

Rgb rgbOf(D3DCOLOR c) {
  return {static_cast<int>(c >> 16 & 0xFF), static_cast<int>(c >> 8 & 0xFF), static_cast<int>(c & 0xFF)};
}

class ImagePixelsTest : public HeadlessLayerTest {
 protected:
  void TearDown() override {
    image.reset();
    if (source) source->Release();
  }
  // An image over a texture of the given pixels, made as makeimage makes it.
  Image& make(uint32_t w, uint32_t h, const std::vector<uint32_t>& pixels, uint8_t alphaFlag = 0, float u0 = 0,
              float v0 = 0, float u1 = 1, float v1 = 1) {
    return adopt(std::make_unique<Image>(), w, h, pixels, alphaFlag, u0, v0, u1, v1);
  }
  // A grid image of one cell, made as makegridimage makes it.
  Image& makeGrid(uint32_t w, uint32_t h, const std::vector<uint32_t>& pixels) {
    return adopt(std::make_unique<GridImage>(1, 1, 0.0f, 0.0f, 1.0f, 1.0f), w, h, pixels, 0, 0, 0, 1, 1);
  }
  Image& adopt(std::unique_ptr<Image> made, uint32_t w, uint32_t h, const std::vector<uint32_t>& pixels,
               uint8_t alphaFlag, float u0, float v0, float u1, float v1) {
    image.reset();
    if (source) source->Release();
    source = makeSourceTexture(device(), w, h, pixels);
    image = std::move(made);
    EXPECT_TRUE(image->initImage(layer, source, alphaFlag, u0, v0, u1, v1));
    return *image;
  }
  Frame show(const char* mode, D3DCOLOR background = Background) {
    clear(background);
    pointSampling();
    setBlendStates(device(), *matchBlendKeyword(mode));
    image->draw(layer);
    return frame();
  }

  Texture* source = nullptr;
  std::unique_ptr<Image> image;
};

TEST_P(ImagePixelsTest, ByDefaultTheWholeTextureCoversTheWholeScreen) {
  make(2, 2, {Red, Green, Blue, White});
  const Frame f = show("copy");
  f.snapshot("image-default", GetParam());
  EXPECT_TRUE(near(f.at(0, 0), rgbOf(Red), 0));
  EXPECT_TRUE(near(f.at(31, 31), rgbOf(Red), 0));
  EXPECT_TRUE(near(f.at(32, 0), rgbOf(Green), 0));
  EXPECT_TRUE(near(f.at(63, 0), rgbOf(Green), 0));
  EXPECT_TRUE(near(f.at(0, 63), rgbOf(Blue), 0));
  EXPECT_TRUE(near(f.at(31, 32), rgbOf(Blue), 0));
  EXPECT_TRUE(near(f.at(63, 63), rgbOf(White), 0));
}

TEST_P(ImagePixelsTest, PositionAndSizeAreFractionsOfTheScreenFromTheTopLeft) {
  Image& right = make(1, 1, {White});
  right.x = 0.5f;
  right.width = 0.5f;
  Frame f = show("copy");
  for (uint32_t y : {0u, 40u, 63u}) {
    EXPECT_TRUE(near(f.at(31, y), rgbOf(Background), 0));
    EXPECT_TRUE(near(f.at(32, y), rgbOf(White), 0));
    EXPECT_TRUE(near(f.at(63, y), rgbOf(White), 0));
  }
  right.x = 0.0f;
  right.width = 1.0f;
  right.y = 0.5f;
  right.height = 0.5f;
  f = show("copy");
  for (uint32_t x : {0u, 40u, 63u}) {
    EXPECT_TRUE(near(f.at(x, 31), rgbOf(Background), 0));
    EXPECT_TRUE(near(f.at(x, 32), rgbOf(White), 0));
    EXPECT_TRUE(near(f.at(x, 63), rgbOf(White), 0));
  }
}

TEST_P(ImagePixelsTest, TextureCoordinatesPickTheSecondEighthFromTheTop) {
  std::vector<uint32_t> bands = {Red, Green, Blue, White, Red, Green, Blue, White};
  make(1, 8, bands, 0, 0.0f, 0.125f, 1.0f, 0.25f);
  const Frame f = show("copy");
  for (uint32_t y = 0; y < Height; y += 9)
    for (uint32_t x : {0u, 33u, 63u}) ASSERT_TRUE(near(f.at(x, y), rgbOf(Green), 0)) << x << ", " << y;
  EXPECT_TRUE(near(f.at(10, 63), rgbOf(Green), 0));
}

TEST_P(ImagePixelsTest, ANegativeWidthMirrorsThePicture) {
  Image& mirrored = make(2, 1, {Red, Green});
  mirrored.x = 1.0f;
  mirrored.width = -1.0f;
  const Frame f = show("copy");
  f.snapshot("image-mirrored", GetParam());
  // Pixel centres sit on whole numbers, as Direct3D 8 draws them (checked against it under Wine): column
  // 0 samples u = 1 exactly, which wraps round to the first texel, and column 32 u = 0.5, the second.
  EXPECT_TRUE(near(f.at(0, 10), rgbOf(Red), 0));
  EXPECT_TRUE(near(f.at(1, 10), rgbOf(Green), 0));
  EXPECT_TRUE(near(f.at(32, 10), rgbOf(Green), 0));
  EXPECT_TRUE(near(f.at(33, 10), rgbOf(Red), 0));
  EXPECT_TRUE(near(f.at(63, 10), rgbOf(Red), 0));
}

// Each mode on a 16-bit texel that converts exactly, a colour and the background, in 0 ... 1.
struct BlendCase {
  const char* mode;
  uint8_t alphaFlag;
  uint32_t texel;   // 0xAARRGGBB; R5G6B5 keeps 0xFF and 0x00, A4R4G4B4 maps 0x88 to 8/15
  D3DCOLOR colour;  // the image's colour
  Rgb expected;
};

TEST_P(ImagePixelsTest, EachBlendModeCompositesItsWay) {
  // Background (0x40, 0x80, 0x20) = (0.251, 0.502, 0.125); source = texel x colour.
  const BlendCase cases[] = {
      // copy: the colour's alpha plays no part, its red, green and blue still tint.
      {"copy", 0, 0xFFFFFF00u, 0x00C08040u, {0xC0, 0x80, 0}},
      // add: (0.753 + 0.251, 0.502 + 0.502, 0.251 + 0.125) saturates in red.
      {"add", 0, 0xFFFFFFFFu, 0xFFC08040u, {255, 255, 0x60}},
      // addalpha with alpha 0x80: 0.753 x 0.502 + 0.251 = 0.629.
      {"addalpha", 0, 0xFFFFFFFFu, 0x80C08040u, {160, 192, 64}},
      // addcolor: src x src + dst: 0.567 + 0.251, 0.252 + 0.502, 0.063 + 0.125.
      {"addcolor", 0, 0xFFFFFFFFu, 0xFFC08040u, {208, 192, 48}},
      // copyalpha: src x 0.502.
      {"copyalpha", 0, 0xFFFFFFFFu, 0x80C08040u, {96, 64, 32}},
      // copycolor: src x src.
      {"copycolor", 0, 0xFFFFFFFFu, 0xFFC08040u, {145, 64, 16}},
      // mixalpha: src x 0.502 + dst x 0.498.
      {"mixalpha", 0, 0xFFFFFFFFu, 0x80C08040u, {128, 128, 48}},
      // mixcolor: src x src + dst x (1 - src).
      {"mixcolor", 0, 0xFFFFFFFFu, 0xFFC08040u, {160, 128, 40}},
      // The alpha flag clear ignores the texture's alpha: a transparent texel mixes with the colour's
      // alpha alone, and black at full alpha covers the frame...
      {"mixalpha", 0, 0x00FFFFFFu, 0xFF000000u, {0, 0, 0}},
      // ... while adding it changes nothing.
      {"addalpha", 0, 0x00FFFFFFu, 0xFF000000u, {0x40, 0x80, 0x20}},
      // With the flag set the texture's alpha (8/15) multiplies the colour's.
      {"mixalpha", 1, 0x88FFFFFFu, 0xFFFFFFFFu, {255 * 8 / 15 + 0x40 * 7 / 15 + 1, 255 * 8 / 15 + 0x80 * 7 / 15 + 1,
                                                 255 * 8 / 15 + 0x20 * 7 / 15 + 1}},
  };
  for (const BlendCase& c : cases) {
    Image& layered = make(4, 4, std::vector<uint32_t>(16, c.texel), c.alphaFlag);
    layered.colour = c.colour;
    const Frame f = show(c.mode);
    EXPECT_TRUE(near(f.at(20, 20), c.expected, 3)) << c.mode << " alpha flag " << int{c.alphaFlag};
  }
}

TEST_P(ImagePixelsTest, AOneByOneGridCoversExactlyThePixelsOfAPlainImage) {
  const auto place = [](Image& shown) {
    shown.x = 0.1f;
    shown.width = 0.55f;
    shown.y = 0.23f;
    shown.height = 0.31f;
  };
  const std::vector<uint32_t> picture = randomPicture(8, 8, 21);
  place(make(8, 8, picture));
  const Frame plain = show("copy", 0xFF000000u);
  place(makeGrid(8, 8, picture));
  const Frame grid = show("copy", 0xFF000000u);
  grid.snapshot("grid-1x1", GetParam());
  EXPECT_TRUE(plain.rgba == grid.rgba);
  EXPECT_TRUE(near(plain.at(6, 14), {0, 0, 0}, 0)) << "outside the rectangle";
}

INSTANTIATE_TEST_SUITE_P(Api, ImagePixelsTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
