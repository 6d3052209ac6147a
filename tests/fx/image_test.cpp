// Making, drawing and destroying an image, checked on the recording device.
#include <gtest/gtest.h>

#include <memory>

#include "fx/image.h"
#include "fx_fixtures.h"
#include "gfx/pixel_convert.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

class ImageTest : public ::testing::Test {
 protected:
  ~ImageTest() override {
    if (source) source->Release();
  }
  void makeSource(uint32_t width, uint32_t height) {
    picture = randomPicture(width, height, 17);
    source = makeSourceTexture(device(), width, height, picture);
  }
  RecordingDevice& device() { return h.device(); }
  MemoryTexture& own(const Image& image) { return *static_cast<MemoryTexture*>(image.ownTexture); }

  ShowHarness h;
  std::vector<uint32_t> picture;
  Texture* source = nullptr;
};

TEST_F(ImageTest, InitImageMakesAManagedSixteenBitCopyOfTheSourceAndResetsTheLayer) {
  makeSource(8, 4);
  for (const uint8_t alphaFlag : {0, 1}) {
    Image image;
    image.x = image.y = 0.3f;
    image.width = image.height = 0.2f;
    image.colour = 0x12345678u;
    image.blurLevel = 7;
    device().clearLog();
    ASSERT_TRUE(image.initImage(h.layer, source, alphaFlag, 0.1f, 0.2f, 0.9f, 0.8f));
    const D3DFORMAT format = alphaFlag ? D3DFMT_A4R4G4B4 : D3DFMT_R5G6B5;
    ASSERT_EQ(device().callsNamed("CreateTexture").size(), 1u);
    EXPECT_EQ(device().callsNamed("CreateTexture")[0].args,
              (std::vector<uint64_t>{8, 4, 1, 0, format, D3DPOOL_MANAGED}));
    EXPECT_EQ(image.textureWidth, 8u);
    EXPECT_EQ(image.textureHeight, 4u);
    EXPECT_EQ(image.sourceTexture, source);
    EXPECT_EQ(image.alphaFlag, alphaFlag);
    EXPECT_EQ(image.blurLevel, 0);
    EXPECT_EQ(image.colour, 0xFFFFFFFFu);
    EXPECT_EQ(image.x, 0.0f);
    EXPECT_EQ(image.y, 0.0f);
    EXPECT_EQ(image.width, 1.0f);
    EXPECT_EQ(image.height, 1.0f);
    EXPECT_EQ(image.texU0, 0.1f);
    EXPECT_EQ(image.texV1, 0.8f);
    const std::vector<uint16_t> texels = texels16(image.ownTexture);
    for (size_t i = 0; i < picture.size(); ++i) {
      const uint32_t p = picture[i];
      const auto b = static_cast<uint8_t>(p), g = static_cast<uint8_t>(p >> 8), r = static_cast<uint8_t>(p >> 16),
                 a = static_cast<uint8_t>(p >> 24);
      ASSERT_EQ(texels[i], alphaFlag ? pixelTo4444(b, g, r, a) : pixelTo565(b, g, r)) << "texel " << i;
    }
    EXPECT_FALSE(static_cast<MemoryTexture*>(source)->isLocked());
  }
}

TEST_F(ImageTest, InitImageFailsWithoutAUsableSourceOrCopy) {
  Image image;
  EXPECT_FALSE(image.initImage(h.layer, nullptr, 0, 0, 0, 1, 1));
  EXPECT_EQ(image.ownTexture, nullptr);

  // A 16-bit texture would be read as 32-bit pixels, past its end.
  Texture* narrow = nullptr;
  ASSERT_EQ(device().CreateTexture(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_SYSTEMMEM, &narrow), D3D_OK);
  EXPECT_FALSE(image.initImage(h.layer, narrow, 0, 0, 0, 1, 1));
  narrow->Release();

  makeSource(4, 4);
  device().failCreateTexture = true;
  EXPECT_FALSE(image.initImage(h.layer, source, 0, 0, 0, 1, 1));
  EXPECT_EQ(image.ownTexture, nullptr);
}

TEST_F(ImageTest, DestroyingTheImageReleasesOnlyItsOwnTexture) {
  makeSource(4, 4);
  auto image = std::make_unique<Image>();
  ASSERT_TRUE(image->initImage(h.layer, source, 0, 0, 0, 1, 1));
  auto& copy = own(*image);
  copy.AddRef();
  image.reset();
  EXPECT_EQ(copy.references(), 1u);
  EXPECT_EQ(static_cast<MemoryTexture*>(source)->references(), 1u);
  copy.Release();
}

TEST_F(ImageTest, DrawPlacesTheQuadThroughTheStacksAndRestoresThem) {
  makeSource(4, 4);
  Image image;
  ASSERT_TRUE(image.initImage(h.layer, source, 0, 0.0f, 0.125f, 1.0f, 0.25f));
  image.x = 0.25f;
  image.y = 0.5f;
  image.width = 0.5f;
  image.height = 0.25f;
  image.colour = 0x80FF4020u;
  device().clearLog();
  EXPECT_EQ(image.draw(h.layer), 1);

  ASSERT_EQ(device().draws.size(), 1u);
  const DrawRecord& quad = device().draws[0];
  EXPECT_EQ(quad.call, "DrawPrimitiveUP");
  EXPECT_EQ(quad.type, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(quad.primitiveCount, 2u);
  EXPECT_EQ(quad.fvf, FVF_XYZ_DIFFUSE_TEX1);
  EXPECT_EQ(quad.stride, 24u);
  const float world[16] = {0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 1, 0, 0.5f + 0.5f - 1, 1 - (1 + 0.25f), 0, 1};
  const float projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -2, 0};
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(quad.world.m[i], world[i]) << "world element " << i;
    EXPECT_EQ(quad.projection.m[i], projection[i]) << "projection element " << i;
  }
  EXPECT_EQ(quad.texture0, image.ownTexture);
  EXPECT_EQ(quad.renderStates.at(D3DRS_ZENABLE), 0u);
  EXPECT_EQ(quad.renderStates.at(D3DRS_ZWRITEENABLE), 0u);
  EXPECT_EQ(quad.renderStates.at(D3DRS_LIGHTING), 0u);
  EXPECT_EQ(quad.renderStates.at(D3DRS_CULLMODE), static_cast<uint32_t>(D3DCULL_NONE));
  EXPECT_EQ(quad.stage0.at(D3DTSS_ALPHAOP), static_cast<uint32_t>(D3DTOP_SELECTARG2)) << "vertex alpha only";
  const VertexColorTex corners[4] = {{-1, 1, 1, 0x80FF4020u, 0.0f, 0.125f},
                                     {1, 1, 1, 0x80FF4020u, 1.0f, 0.125f},
                                     {-1, -1, 1, 0x80FF4020u, 0.0f, 0.25f},
                                     {1, -1, 1, 0x80FF4020u, 1.0f, 0.25f}};
  for (int i = 0; i < 4; ++i) {
    const VertexColorTex v = quad.colorVertex(i);
    EXPECT_EQ(v.x, corners[i].x);
    EXPECT_EQ(v.y, corners[i].y);
    EXPECT_EQ(v.z, corners[i].z);
    EXPECT_EQ(v.diffuse, corners[i].diffuse);
    EXPECT_EQ(v.u, corners[i].u);
    EXPECT_EQ(v.v, corners[i].v);
  }

  // Afterwards both stacks are back at depth 0, the world transform re-applied from it, and the
  // image projection left in place.
  EXPECT_EQ(h.layer.stackDepth(0), 0);
  EXPECT_EQ(h.layer.stackDepth(1), 0);
  EXPECT_EQ(h.layer.selectedStack(), 0);
  EXPECT_EQ(device().transform(D3DTS_WORLD).m[12], 0.0f);
  EXPECT_EQ(device().transform(D3DTS_PROJECTION).m[11], 1.0f);

  image.alphaFlag = 1;
  device().clearLog();
  image.draw(h.layer);
  EXPECT_EQ(device().draws[0].stage0.at(D3DTSS_ALPHAOP), static_cast<uint32_t>(D3DTOP_MODULATE))
      << "texture alpha times vertex alpha";
}

}  // namespace
}  // namespace demo::test
