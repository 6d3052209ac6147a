#include "headless_fixture.h"

#include <cstdlib>
#include <cstring>

#include "gfx/png_file.h"
#include "platform/headless/headless_graphics.h"

namespace demo::test {

void HeadlessDeviceTest::SetUp() {
  HeadlessGraphicsConfig config;
  config.gles = GetParam();
  d3d_ = headlessDirect3DCreate(&config, D3D_SDK_VERSION_8);
  if (!d3d_) GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
  createDevice(Width, Height, D3DFMT_X8R8G8B8);
}

void HeadlessDeviceTest::createDevice(uint32_t width, uint32_t height, D3DFORMAT format) {
  if (device_) device_->Release();
  device_ = nullptr;
  D3DPRESENT_PARAMETERS p{};
  p.BackBufferWidth = width;
  p.BackBufferHeight = height;
  p.BackBufferFormat = format;
  p.BackBufferCount = 1;
  p.SwapEffect = D3DSWAPEFFECT_DISCARD;
  p.Windowed = 1;
  p.EnableAutoDepthStencil = 1;
  p.AutoDepthStencilFormat = D3DFMT_D16;
  RenderDevice* device = nullptr;
  ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device), D3D_OK);
  device_ = static_cast<GlDevice*>(device);
  width_ = width;
  height_ = height;
  ASSERT_EQ(device_->BeginScene(), D3D_OK);
}

void HeadlessDeviceTest::TearDown() {
  // Whatever the test did, the device must not have made OpenGL complain.
  if (device_) {
    EXPECT_EQ(device_->takeGlError(), 0u);
    device_->Release();
  }
  if (d3d_) d3d_->Release();
}

std::vector<uint8_t> HeadlessDeviceTest::frame(const char* snapshotName) {
  std::vector<uint8_t> rgba;
  EXPECT_TRUE(device_->readPixels(rgba));
  const char* dir = std::getenv("DEMO_SNAPSHOT_DIR");
  if (dir && snapshotName) {
    const std::string path = std::string(dir) + "/" + snapshotName + (GetParam() ? "-es" : "-gl") + ".png";
    writePng(path.c_str(), rgba.data(), width_, height_, width_ * 4, 4);
  }
  return rgba;
}

Rgba HeadlessDeviceTest::pixel(const std::vector<uint8_t>& frame, uint32_t x, uint32_t y) const {
  const uint8_t* p = frame.data() + (size_t{y} * width_ + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

void HeadlessDeviceTest::drawQuad(int x0, int y0, int x1, int y1, D3DCOLOR color, float z, float u0, float v0,
                                  float u1, float v1) {
  const VertexColorTex quad[4] = {
      {clipX(float(x0)), clipY(float(y0)), z, color, u0, v0},
      {clipX(float(x1)), clipY(float(y0)), z, color, u1, v0},
      {clipX(float(x0)), clipY(float(y1)), z, color, u0, v1},
      {clipX(float(x1)), clipY(float(y1)), z, color, u1, v1},
  };
  device_->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex)), D3D_OK);
}

Texture* HeadlessDeviceTest::makeTexture(uint32_t w, uint32_t h, D3DFORMAT format, const std::vector<uint32_t>& texels,
                                         D3DPOOL pool) {
  Texture* texture = nullptr;
  EXPECT_EQ(device_->CreateTexture(w, h, 1, 0, format, pool, &texture), D3D_OK);
  if (!texture) return nullptr;
  D3DLOCKED_RECT r{};
  EXPECT_EQ(texture->LockRect(0, &r, nullptr, 0), D3D_OK);
  const uint32_t bytes = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 ? 4 : 2;
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      std::memcpy(static_cast<uint8_t*>(r.pBits) + y * r.Pitch + x * bytes, &texels[y * w + x], bytes);
  texture->UnlockRect(0);
  return texture;
}

::testing::AssertionResult near(Rgba actual, Rgba expected, int tolerance) {
  const auto off = [&](int a, int e) { return a < e - tolerance || a > e + tolerance; };
  // A negative expected alpha means "any": X8R8G8B8 back buffers have no meaningful alpha.
  if (off(actual.r, expected.r) || off(actual.g, expected.g) || off(actual.b, expected.b) ||
      (expected.a >= 0 && off(actual.a, expected.a)))
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b << ", "
                                         << actual.a << "), expected (" << expected.r << ", " << expected.g << ", "
                                         << expected.b << ", " << expected.a << ") within " << tolerance;
  return ::testing::AssertionSuccess();
}

std::string apiName(const ::testing::TestParamInfo<bool>& info) { return info.param ? "Gles30" : "OpenGL33"; }

}  // namespace demo::test
