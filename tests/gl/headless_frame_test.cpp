// The device layer on the headless OpenGL backend: creation with the fixed parameters, the frame
// step's clear to the background colour, and a 2D image drawn through the transform stacks.

#include <cstring>

#include <gtest/gtest.h>

#include "gfx/device_layer.h"
#include "gfx/loaded_texture.h"
#include "gfx/pixel_convert.h"
#include "platform/gl/gl_device.h"
#include "platform/headless/headless_graphics.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo {
namespace {

class HeadlessFrameTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    config.width = 64;
    config.height = 48;
    config.gles = GetParam();
    Direct3D* probe = headlessDirect3DCreate(&config, D3D_SDK_VERSION_8);
    if (!probe) GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
    probe->Release();
  }
  GlDevice& device() { return *static_cast<GlDevice*>(layer.device()); }
  std::vector<uint8_t> frame() {
    std::vector<uint8_t> rgba;
    EXPECT_TRUE(device().readPixels(rgba));
    return rgba;
  }
  uint32_t rgb(const std::vector<uint8_t>& f, uint32_t x, uint32_t y) {
    const uint8_t* p = f.data() + (size_t{y} * 64 + x) * 4;
    return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
  }

  HeadlessGraphicsConfig config;
  DeviceLayer layer{headlessDirect3DCreate, &config};
};

TEST_P(HeadlessFrameTest, WindowedDeviceTakesTheConfiguredSizeAndClearsToTheBackground) {
  ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 16, 1), 0);
  EXPECT_EQ(layer.screenWidth(), 64);
  EXPECT_EQ(layer.screenHeight(), 48);
  // Mesa draws in software here, which the first attempt refuses.
  EXPECT_EQ(layer.softwareVertexProcessing(), device().softwareRenderer());
  EXPECT_FALSE(layer.referenceDevice());
  D3DDISPLAYMODE mode{};
  ASSERT_EQ(layer.direct3d()->GetAdapterDisplayMode(0, &mode), D3D_OK);
  EXPECT_EQ(mode.Width, 64u);
  EXPECT_EQ(layer.direct3d()->GetAdapterModeCount(0), 2u);

  // The frame step: clear to the background colour, ambient level, present.
  RenderDevice* d = layer.device();
  ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FFu, 1.0f, 0), D3D_OK);
  d->SetRenderState(D3DRS_AMBIENT, 0x80808080u);
  ASSERT_EQ(d->BeginScene(), D3D_OK);
  ASSERT_EQ(d->EndScene(), D3D_OK);
  ASSERT_EQ(d->Present(), D3D_OK);
  const auto f = frame();
  EXPECT_EQ(rgb(f, 0, 0), 0x0000FFu);
  EXPECT_EQ(rgb(f, 63, 47), 0x0000FFu);
  layer.destroyDevice();
  layer.destroyDevice();
}

TEST_P(HeadlessFrameTest, FullScreenSixteenBitsGivesA565BackBuffer) {
  ASSERT_EQ(layer.createDevice(nullptr, 64, 48, 16, 0), 0);
  EXPECT_EQ(layer.presentParameters().BackBufferFormat, D3DFMT_R5G6B5);
  layer.device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF010101u, 1.0f, 0);
  // 1 of 255 is under half a step of 5 or 6 bits.
  EXPECT_EQ(rgb(frame(), 10, 10), 0u);
  layer.destroyDevice();
  ASSERT_EQ(layer.createDevice(nullptr, 64, 48, 32, 0), 0);
  layer.device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF010101u, 1.0f, 0);
  EXPECT_EQ(rgb(frame(), 10, 10), 0x010101u);
}

TEST_P(HeadlessFrameTest, AnImageOfATgaFileCoversItsRectangleOfTheScreen) {
  ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 16, 1), 0);
  test::TempDir dir;
  // A 4 x 2 picture of distinct colours, loaded as loadtexture does and converted as images do.
  const std::vector<uint32_t> picture = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu,
                                         0xFFFFFF00u, 0xFF00FFFFu, 0xFFFF00FFu, 0xFF000000u};
  const auto bytes = writeTga(TgaLayout{}, 4, 2, picture);
  test::writeFile(dir / "p.tga", {bytes.begin(), bytes.end()});
  Texture* source = loadImageTexture(layer, (dir / "p.tga").c_str(), 4, 2);
  ASSERT_NE(source, nullptr);
  Texture* own = nullptr;
  RenderDevice* d = layer.device();
  ASSERT_EQ(d->CreateTexture(4, 2, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &own), D3D_OK);
  D3DLOCKED_RECT from{}, to{};
  source->LockRect(0, &from, nullptr, D3DLOCK_READONLY);
  own->LockRect(0, &to, nullptr, 0);
  convertTo565(static_cast<uint8_t*>(to.pBits), to.Pitch, static_cast<uint8_t*>(from.pBits), from.Pitch, 4, 2);
  own->UnlockRect(0);
  source->UnlockRect(0);

  d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF404040u, 1.0f, 0);
  d->BeginScene();
  // The image drawer's steps: x = 0.5, y = 0.25, width = 0.5, height = 0.5.
  const float x = 0.5f, y = 0.25f, w = 0.5f, h = 0.5f;
  layer.selectTransformStack(0);
  layer.pushTransform();
  layer.topTransform() = {{w, 0, 0, 0, 0, h, 0, 0, 0, 0, 1, 0, 2 * x + w - 1, 1 - (2 * y + h), 0, 1}};
  layer.applyTransform();
  layer.selectTransformStack(1);
  layer.topTransform() = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -2, 0}};
  layer.applyTransform();
  layer.bindTexture(own);
  d->SetRenderState(D3DRS_ZENABLE, 0);
  d->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  d->SetRenderState(D3DRS_LIGHTING, 0);
  d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);  // exact texels for the check
  d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
  d->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  const VertexColorTex quad[4] = {{-1, 1, 1, 0xFFFFFFFFu, 0, 0}, {1, 1, 1, 0xFFFFFFFFu, 1, 0},
                                  {-1, -1, 1, 0xFFFFFFFFu, 0, 1}, {1, -1, 1, 0xFFFFFFFFu, 1, 1}};
  ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex)), D3D_OK);
  layer.popTransform();
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.popTransform();
  layer.applyTransform();
  d->EndScene();
  const auto f = frame();
  // The rectangle is columns 32..63 and rows 12..35; each texel 8 x 12 pixels.
  EXPECT_EQ(rgb(f, 31, 20), 0x404040u);
  EXPECT_EQ(rgb(f, 32, 12), 0xFF0000u);
  EXPECT_EQ(rgb(f, 39, 23), 0xFF0000u);
  EXPECT_EQ(rgb(f, 40, 23), 0x00FF00u);
  EXPECT_EQ(rgb(f, 63, 12), 0xFFFFFFu);
  EXPECT_EQ(rgb(f, 32, 24), 0xFFFF00u);
  EXPECT_EQ(rgb(f, 63, 35), 0x000000u);
  EXPECT_EQ(rgb(f, 40, 11), 0x404040u);
  EXPECT_EQ(rgb(f, 40, 36), 0x404040u);
  own->Release();
  source->Release();
}

INSTANTIATE_TEST_SUITE_P(Api, HeadlessFrameTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Gles30" : "OpenGL33"; });

}  // namespace
}  // namespace demo
