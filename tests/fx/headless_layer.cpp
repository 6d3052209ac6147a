#include "headless_layer.h"

#include <cstdlib>

#include "gfx/png_file.h"
#include "platform/gl/gl_device.h"

namespace demo::test {

::testing::AssertionResult near(Rgb actual, Rgb expected, int tolerance) {
  const auto off = [&](int a, int e) { return a < e - tolerance || a > e + tolerance; };
  if (off(actual.r, expected.r) || off(actual.g, expected.g) || off(actual.b, expected.b))
    return ::testing::AssertionFailure() << "got (" << actual.r << ", " << actual.g << ", " << actual.b
                                         << "), expected (" << expected.r << ", " << expected.g << ", " << expected.b
                                         << ") within " << tolerance;
  return ::testing::AssertionSuccess();
}

Rgb Frame::at(uint32_t x, uint32_t y) const {
  const uint8_t* p = rgba.data() + (size_t{y} * width + x) * 4;
  return {p[0], p[1], p[2]};
}

void Frame::snapshot(const std::string& name, bool gles) const {
  const char* dir = std::getenv("DEMO_SNAPSHOT_DIR");
  if (!dir) return;
  const std::string path = std::string(dir) + "/" + name + (gles ? "-es" : "-gl") + ".png";
  writePng(path.c_str(), rgba.data(), width, height, width * 4, 4);
}

void HeadlessLayerTest::SetUp() {
  config.width = Width;
  config.height = Height;
  config.gles = GetParam();
  Direct3D* probe = headlessDirect3DCreate(&config, D3D_SDK_VERSION_8);
  if (!probe) GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
  probe->Release();
  ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 32, 1), 0);
}

void HeadlessLayerTest::clear(D3DCOLOR colour) {
  device().Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, colour, 1.0f, 0);
  device().BeginScene();
}

Frame HeadlessLayerTest::frame() {
  device().EndScene();
  auto& gl = static_cast<GlDevice&>(device());
  Frame f;
  f.width = gl.backBufferWidth();
  f.height = gl.backBufferHeight();
  EXPECT_TRUE(gl.readPixels(f.rgba));
  EXPECT_EQ(gl.takeGlError(), 0u);
  return f;
}

void HeadlessLayerTest::pointSampling() {
  device().SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
  device().SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
}

std::string apiName(const ::testing::TestParamInfo<bool>& info) { return info.param ? "Gles30" : "OpenGL33"; }

}  // namespace demo::test
