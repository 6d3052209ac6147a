// Scenes on the headless OpenGL device, both dialects: what a wireframe over the solid pass looks
// like, and every real file of the shared test data drawn through a viewer's camera (its picture
// goes to $DEMO_SNAPSHOT_DIR when that is set, for looking at).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "gfx/png_file.h"
#include "platform/gl/gl_device.h"
#include "platform/headless/headless_graphics.h"
#include "support/scene_files.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

constexpr uint32_t Width = 320, Height = 240;
constexpr D3DCOLOR Background = 0xFF102030u;

struct Picture {
  std::vector<uint8_t> rgba;
  int brightness(uint32_t x, uint32_t y) const {
    const uint8_t* p = rgba.data() + (size_t{y} * Width + x) * 4;
    return p[0] + p[1] + p[2];
  }
  size_t pixelsOtherThan(D3DCOLOR colour) const {
    size_t n = 0;
    for (size_t i = 0; i < rgba.size(); i += 4)
      if (std::abs(rgba[i] - int(colour >> 16 & 0xFF)) > 2 || std::abs(rgba[i + 1] - int(colour >> 8 & 0xFF)) > 2 ||
          std::abs(rgba[i + 2] - int(colour & 0xFF)) > 2)
        ++n;
    return n;
  }
};

class ScenePixels : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    config.width = Width;
    config.height = Height;
    config.gles = GetParam();
    Direct3D* probe = headlessDirect3DCreate(&config, D3D_SDK_VERSION_8);
    if (!probe) GTEST_SKIP() << "no EGL display can be opened on this machine: headless OpenGL tests cannot run";
    probe->Release();
    ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 32, 1), 0);
  }

  Picture draw(Scene& scene, float frame) {
    RenderDevice& device = *layer.device();
    device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, Background, 1.0f, 0);
    device.BeginScene();
    drawSceneFrame(scene, layer, random, frame);
    device.EndScene();
    auto& gl = static_cast<GlDevice&>(device);
    Picture picture;
    EXPECT_TRUE(gl.readPixels(picture.rgba));
    EXPECT_EQ(gl.takeGlError(), 0u);
    return picture;
  }

  void snapshot(const Picture& picture, const std::string& name) {
    const char* dir = std::getenv("DEMO_SNAPSHOT_DIR");
    if (!dir) return;
    const std::string path = std::string(dir) + "/" + name + (GetParam() ? "-es" : "-gl") + ".png";
    writePng(path.c_str(), picture.rgba.data(), Width, Height, Width * 4, 4);
  }

  HeadlessGraphicsConfig config;
  DeviceLayer layer{headlessDirect3DCreate, &config};
  Random random;
};

TEST_P(ScenePixels, AWireframeOverTheSolidPassShowsTheEdgesOfTheSameFaces) {
  Scene3ds s;
  Material3ds dark;
  dark.name = "Dark";
  dark.ambient = {0.2f, 0.2f, 0.2f};
  s.materials = {dark};
  Mesh3ds quad;
  quad.name = "Quad";
  // Engine (x, y, 0) is the file's (x, 0, y).
  quad.vertices = {{-2, 0, -2}, {2, 0, -2}, {2, 0, 2}, {-2, 0, 2}};
  quad.faces = {{0, 1, 2, 0}, {0, 2, 3, 0}};
  quad.groups = {{"Dark", {0, 1}}};
  s.meshes = {quad};
  s.cameras = {{"Cam", {0, -10, 0}, {0, 0, 0}, 0, 50}};
  RawScene raw;
  ASSERT_TRUE(readBytes(write3ds(s), raw));
  const auto scene = buildScene(layer, raw);
  const Picture solid = draw(*scene, 0);
  scene->wireAlpha = 1.0f;
  const Picture wired = draw(*scene, 0);
  snapshot(wired, "scene-wire-over-solid");
  // No lights: white ambient, so the solid quad shows its ambient 0.2 (51 per channel).
  EXPECT_NEAR(solid.brightness(175, 110), 3 * 51, 6);
  EXPECT_EQ(wired.brightness(175, 110), solid.brightness(175, 110)) << "inside a face, off the edges";
  // The diagonal both triangles share runs through the middle: white where the lines are, drawn
  // over the solid faces at equal depth.
  int brightest = 0;
  for (uint32_t y = 118; y <= 122; ++y)
    for (uint32_t x = 158; x <= 162; ++x) brightest = std::max(brightest, wired.brightness(x, y));
  EXPECT_GE(brightest, 3 * 250);
}

TEST_P(ScenePixels, EveryRealFileDrawsThroughAViewersCamera) {
  DEMO_REQUIRE_TESTDATA();
  for (const auto& path : testdataFiles("3ds", {".3ds"})) {
    std::string reason;
    const auto scene = loadScene(layer, path.string().c_str(), &reason);
    if (!scene) continue;  // the empty file (the loader tests check the refusal)
    const float frame = 0.25f * static_cast<float>(scene->lastFrame);
    const bool ownCamera = !scene->cameras.empty();
    if (!ownCamera) addViewerCamera(*scene, layer, frame);
    scene->wireAlpha = 0.25f;
    Picture picture = draw(*scene, frame);
    snapshot(picture, "scene-" + path.stem().string());
    if (!ownCamera && picture.pixelsOtherThan(Background) == 0) {
      // Single-sided cards seen from their back: look from the other side, from below.
      scene->cameras.erase(scene->cameras.begin());
      scene->lights.clear();
      addViewerCamera(*scene, layer, frame, true);
      picture = draw(*scene, frame);
      snapshot(picture, "scene-" + path.stem().string() + "-behind");
    }
    EXPECT_GT(picture.pixelsOtherThan(Background), 100u) << path;
  }
}

std::string dialect(const ::testing::TestParamInfo<bool>& info) { return info.param ? "GLES" : "GL"; }
INSTANTIATE_TEST_SUITE_P(Dialects, ScenePixels, ::testing::Bool(), dialect);

}  // namespace
}  // namespace demo::test
