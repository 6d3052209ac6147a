// Textures on a context without texture swizzles (WebGL 2 has none): the device reorders the texels
// on the CPU instead, and every format must still show Direct3D's channels. Run on Mesa through a
// context that says it takes no swizzles, in both dialects.

#include <cstring>
#include <memory>
#include <tuple>

#include "headless_fixture.h"
#include "platform/gl/gl_direct3d.h"
#include "platform/headless/egl_context.h"

namespace demo::test {
namespace {

class NoSwizzleContext final : public GlContext {
 public:
  explicit NoSwizzleContext(std::unique_ptr<GlContext> inner) : inner_(std::move(inner)) {}
  bool makeCurrent() override { return inner_->makeCurrent(); }
  GlApi api() const override { return inner_->api(); }
  void windowSize(int& width, int& height) override { inner_->windowSize(width, height); }
  void swapBuffers() override { inner_->swapBuffers(); }
  bool textureSwizzle() const override { return false; }

 private:
  std::unique_ptr<GlContext> inner_;
};

class NoSwizzlePlatform final : public GlPlatform {
 public:
  explicit NoSwizzlePlatform(std::unique_ptr<GlPlatform> inner) : inner_(std::move(inner)) {}
  bool displayMode(D3DDISPLAYMODE& mode) override { return inner_->displayMode(mode); }
  uint32_t modeCount() override { return inner_->modeCount(); }
  bool mode(uint32_t index, D3DDISPLAYMODE& mode) override { return inner_->mode(index, mode); }
  std::unique_ptr<GlContext> createContext(WindowHandle window, bool forceSoftware) override {
    std::unique_ptr<GlContext> context = inner_->createContext(window, forceSoftware);
    return context ? std::make_unique<NoSwizzleContext>(std::move(context)) : nullptr;
  }

 private:
  std::unique_ptr<GlPlatform> inner_;
};

class TexelOrderTest : public HeadlessDeviceTest {
 protected:
  void SetUp() override {
    std::unique_ptr<EglPlatform> egl = EglPlatform::open(Width, Height, GetParam());
    if (!egl) GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
    d3d_ = new GlDirect3D(std::make_unique<NoSwizzlePlatform>(std::move(egl)));
    createDevice(Width, Height, D3DFMT_A8R8G8B8);  // a back buffer that keeps the alpha the stage gives
    device_->SetRenderState(D3DRS_LIGHTING, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3D_OK);
  }

  // The texture's 2 x 1 texels across the whole back buffer, texture colour and alpha as they are:
  // the two pixels at the left and right quarter.
  std::pair<Rgba, Rgba> show(D3DFORMAT format, std::vector<uint32_t> texels) {
    Texture* t = makeTexture(2, 1, format, texels);
    device_->SetTexture(0, t);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    drawQuad(0, 0, Width, Height, 0xFFFFFFFFu);
    const std::vector<uint8_t> f = frame();
    device_->SetTexture(0, nullptr);
    t->Release();
    return {pixel(f, Width / 4, Height / 2), pixel(f, Width * 3 / 4, Height / 2)};
  }
};

TEST_P(TexelOrderTest, EveryFormatShowsDirect3DsChannels) {
  auto [a, b] = show(D3DFMT_A8R8G8B8, {0x80112233u, 0xFFF0E0D0u});
  EXPECT_TRUE(near(a, {0x11, 0x22, 0x33, 0x80}, 0));
  EXPECT_TRUE(near(b, {0xF0, 0xE0, 0xD0, 0xFF}, 0));
  std::tie(a, b) = show(D3DFMT_X8R8G8B8, {0x00112233u, 0x7FF0E0D0u});
  EXPECT_TRUE(near(a, {0x11, 0x22, 0x33, 0xFF}, 0)) << "the unused byte reads as opaque";
  EXPECT_TRUE(near(b, {0xF0, 0xE0, 0xD0, 0xFF}, 0));
  std::tie(a, b) = show(D3DFMT_A4R4G4B4, {0x8ACE, 0xF123});
  EXPECT_TRUE(near(a, {0xAA, 0xCC, 0xEE, 0x88}, 0));
  EXPECT_TRUE(near(b, {0x11, 0x22, 0x33, 0xFF}, 0));
  std::tie(a, b) = show(D3DFMT_R5G6B5, {0xF800, 0x001F});
  EXPECT_TRUE(near(a, {255, 0, 0, 255}, 0));
  EXPECT_TRUE(near(b, {0, 0, 255, 255}, 0));
}

// A locked and changed texture is reordered again on its next upload.
TEST_P(TexelOrderTest, AChangedTextureIsReorderedAgain) {
  Texture* t = makeTexture(1, 1, D3DFMT_A8R8G8B8, {0xFF102030u});
  device_->SetTexture(0, t);
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  drawQuad(0, 0, Width, Height, 0xFFFFFFFFu);
  EXPECT_TRUE(near(pixel(frame(), 5, 5), {0x10, 0x20, 0x30, 0xFF}, 0));
  D3DLOCKED_RECT r{};
  ASSERT_EQ(t->LockRect(0, &r, nullptr, 0), D3D_OK);
  const uint32_t changed = 0xFF405060u;
  std::memcpy(r.pBits, &changed, 4);
  t->UnlockRect(0);
  drawQuad(0, 0, Width, Height, 0xFFFFFFFFu);
  EXPECT_TRUE(near(pixel(frame(), 5, 5), {0x40, 0x50, 0x60, 0xFF}, 0));
  device_->SetTexture(0, nullptr);
  t->Release();
}

INSTANTIATE_TEST_SUITE_P(Api, TexelOrderTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
