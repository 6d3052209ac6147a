// Lighting and generated texture coordinates against Direct3D's formulas.

#include <cmath>

#include "headless_fixture.h"

namespace demo::test {
namespace {

constexpr int Any = -1;

// Four vertices on the z = 4 plane, all 5 units from the origin, normals facing the camera: with a
// light at the origin every vertex gets the same colour, so the whole diamond is flat.
const VertexNormalTex Diamond[6] = {
    {3, 0, 4, 0, 0, -1, 0, 0}, {0, -3, 4, 0, 0, -1, 0, 0}, {-3, 0, 4, 0, 0, -1, 0, 0},
    {3, 0, 4, 0, 0, -1, 0, 0}, {-3, 0, 4, 0, 0, -1, 0, 0}, {0, 3, 4, 0, 0, -1, 0, 0},
};

class GlLightingTest : public HeadlessDeviceTest {
 protected:
  void SetUp() override {
    HeadlessDeviceTest::SetUp();
    if (!device_) return;
    // Field of view 90 degrees, near 1, far 10.
    const float q = 10.0f / 9.0f;
    const D3DMATRIX projection = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, q, 1, 0, 0, -q, 0}};
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    device_->SetVertexShader(FVF_XYZ_NORMAL_TEX1);
  }
  void drawDiamond() { ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32), D3D_OK); }
  static int byte(double v) { return int(std::lround(std::min(1.0, std::max(0.0, v)) * 255)); }

  const D3DMATERIAL8 material{
      {0.8f, 0.6f, 0.4f, 0.5f}, {0.2f, 0.4f, 0.6f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0.1f, 0, 0, 0}, 2};
};

TEST_P(GlLightingTest, PointLightFollowsDirect3DsEquation) {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_POINT;
  light.Diffuse = {1, 0.5f, 0.25f, 1};
  light.Specular = {0.6f, 0.6f, 0.6f, 1};
  light.Ambient = {0.1f, 0.2f, 0.3f, 1};
  light.Range = 100;
  light.Attenuation0 = 0.5f, light.Attenuation1 = 0.1f, light.Attenuation2 = 0.02f;
  device_->SetMaterial(&material);
  device_->SetLight(0, &light);
  device_->LightEnable(0, true);
  device_->SetRenderState(D3DRS_AMBIENT, 0x00404040u);
  device_->SetRenderState(D3DRS_SPECULARENABLE, 1);
  drawDiamond();
  const double attenuation = 1 / (0.5 + 0.1 * 5 + 0.02 * 25);
  const double NdotL = 0.8, NdotH = 0.8;  // the light sits at the eye, so H = L
  const double Ga = 64 / 255.0;
  const double Ce[3] = {0.1, 0, 0}, Ca[3] = {0.2, 0.4, 0.6}, Cd[3] = {0.8, 0.6, 0.4}, Cs = 0.5;
  const double La[3] = {0.1, 0.2, 0.3}, Ld[3] = {1, 0.5, 0.25}, Ls = 0.6;
  int expected[3];
  for (int c = 0; c < 3; ++c) {
    const double diffuse =
        std::min(1.0, Ce[c] + Ca[c] * (Ga + attenuation * La[c]) + Cd[c] * Ld[c] * NdotL * attenuation);
    const double specular = Cs * Ls * std::pow(NdotH, 2.0) * attenuation;
    expected[c] = byte(diffuse + specular);
  }
  const auto f = frame("lit-point");
  EXPECT_TRUE(near(pixel(f, 32, 32), {expected[0], expected[1], expected[2], 128}));
  EXPECT_TRUE(near(pixel(f, 50, 32), {expected[0], expected[1], expected[2], 128}));

  // Beyond its range the light adds nothing, not even its ambient part.
  light.Range = 4.9f;
  device_->SetLight(0, &light);
  device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  drawDiamond();
  EXPECT_TRUE(near(pixel(frame(), 32, 32), {byte(0.1 + 0.2 * Ga), byte(0.4 * Ga), byte(0.6 * Ga), 128}));
}

TEST_P(GlLightingTest, DirectionalLightWithAViewerAtInfinity) {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {0.5f, 0.5f, 0.5f, 1};
  light.Specular = {0.4f, 0.2f, 0, 1};
  light.Direction = {0, 0, 2};  // need not be normalised
  device_->SetMaterial(&material);
  device_->SetLight(3, &light);
  device_->LightEnable(3, true);
  device_->SetRenderState(D3DRS_SPECULARENABLE, 1);
  device_->SetRenderState(D3DRS_LOCALVIEWER, 0);
  drawDiamond();
  // N.L = N.H = 1: diffuse = Ce + Cd Ld, specular = Cs Ls.
  EXPECT_TRUE(near(pixel(frame("lit-directional"), 32, 32),
                   {byte(0.1 + 0.4 + 0.2), byte(0.3 + 0.1), byte(0.2), 128}));
  // Specular off: the highlight is not added.
  device_->SetRenderState(D3DRS_SPECULARENABLE, 0);
  drawDiamond();
  EXPECT_TRUE(near(pixel(frame(), 32, 32), {byte(0.5), byte(0.3), byte(0.2), 128}));
}

TEST_P(GlLightingTest, LitVerticesWithoutNormalsShowOnlyAmbientAndEmissive) {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1, 1, 1, 1};
  light.Direction = {0, 0, 1};
  device_->SetLight(0, &light);
  device_->LightEnable(0, true);
  device_->SetRenderState(D3DRS_AMBIENT, 0xFF808080u);
  device_->SetMaterial(&material);
  const VertexColorTex quad[4] = {{-1, 1, 0.5f, 0xFFFFFFFFu, 0, 0}, {1, 1, 0.5f, 0xFFFFFFFFu, 0, 0},
                                  {-1, -1, 0.5f, 0xFFFFFFFFu, 0, 0}, {1, -1, 0.5f, 0xFFFFFFFFu, 0, 0}};
  const D3DMATRIX identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
  device_->SetTransform(D3DTS_PROJECTION, &identity);
  device_->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, 24);
  const double Ga = 128 / 255.0;
  // The vertex colour replaces the material's diffuse, but without a normal it receives no light.
  EXPECT_TRUE(near(pixel(frame(), 32, 32), {byte(0.1 + 0.2 * Ga), byte(0.4 * Ga), byte(0.6 * Ga), 255}));
}

TEST_P(GlLightingTest, StageOneAddsTheReflectionMapThroughItsTextureMatrix) {
  // The device layer's set-up: reflection vector, two coordinates, u = 0.5 x + 0.5, v = 0.5 y + 0.5.
  device_->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
  device_->SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
  const D3DMATRIX sphereMap = {{0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, 0.5f, 0.5f, 0, 1}};
  device_->SetTransform(D3DTS_TEXTURE1, &sphereMap);
  D3DMATERIAL8 dark{};
  dark.Emissive = {0.1f, 0.1f, 0.1f, 0};
  dark.Diffuse.a = 1;
  device_->SetMaterial(&dark);
  // Left half red, right half green: the reflected x decides.
  Texture* map = makeTexture(2, 1, D3DFMT_X8R8G8B8, {0x00FF0000u, 0x0000FF00u});
  device_->SetTexture(1, map);
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);  // stage 0 passes the lit colour on
  device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
  drawDiamond();
  const auto f = frame("reflection");
  // Near the right tip the eye ray (0.6, 0, 0.8) reflects to x = 0.6: u = 0.8.
  EXPECT_TRUE(near(pixel(f, 50, 32), {26, 255, 26, 255}));
  EXPECT_TRUE(near(pixel(f, 14, 32), {255, 26, 26, 255}));
  // Without a stage-0 texture, the default MODULATE(TEXTURE, CURRENT) skips stage 0 and so stage 1.
  device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  drawDiamond();
  EXPECT_TRUE(near(pixel(frame(), 50, 32), {26, 26, 26, 255}));
  map->Release();
}

TEST_P(GlLightingTest, ALongNormalLightsAtMostFullyButItsSpecularGrows) {
  // A world scale of 0.5 doubles the normals (they are carried by the inverse), and nothing
  // renormalises them: N.L comes out near 1.9, but the diffuse term takes at most 1 per light; the
  // specular N.H (the same, the light sitting at the eye) is raised to the power as it is.
  const D3DMATRIX half = {{0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 2, 1}};
  device_->SetTransform(D3DTS_WORLD, &half);
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_POINT;
  light.Diffuse = {0.5f, 0.5f, 0.5f, 1};
  light.Specular = {0.05f, 0.05f, 0.05f, 1};
  light.Range = 100;
  light.Attenuation0 = 1;
  const D3DMATERIAL8 plain{{1, 1, 1, 1}, {0, 0, 0, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, 2};
  device_->SetMaterial(&plain);
  device_->SetLight(0, &light);
  device_->LightEnable(0, true);
  device_->SetRenderState(D3DRS_SPECULARENABLE, 1);
  drawDiamond();
  // The diamond lies at z = 4 (2 + 0.5 x 4), its vertices 1.5 off the axis: N.L = N.H = 2 x 4 / |P|.
  const double NdotH = 8 / std::sqrt(1.5 * 1.5 + 16);
  const int expected = byte(0.5 * 1.0 + 0.05 * std::pow(NdotH, 2.0));
  EXPECT_TRUE(near(pixel(frame("long-normal"), 32, 32), {expected, expected, expected, 255}));
}

INSTANTIATE_TEST_SUITE_P(Api, GlLightingTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
