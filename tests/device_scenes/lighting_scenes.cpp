// Lighting (point and directional lights, attenuation, range, specular, ambient, emissive) and the
// reflection stage, on geometry seen through a perspective projection.

#include <cmath>

#include "scene_drawing.h"
#include "scene_groups.h"

namespace demo::scenes {

namespace {

// Field of view 90 degrees, near 1, far 10.
const D3DMATRIX Projection = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 10.0f / 9, 1, 0, 0, -10.0f / 9, 0}};

const D3DMATERIAL8 Material{
    {0.8f, 0.6f, 0.4f, 0.5f}, {0.2f, 0.4f, 0.6f, 1}, {0.5f, 0.5f, 0.5f, 1}, {0.1f, 0, 0, 0}, 2};

// Four vertices on the z = 4 plane, all 5 units from the origin, normals facing the camera.
const VertexNormalTex Diamond[6] = {
    {3, 0, 4, 0, 0, -1, 0, 0}, {0, -3, 4, 0, 0, -1, 0, 0}, {-3, 0, 4, 0, 0, -1, 0, 0},
    {3, 0, 4, 0, 0, -1, 0, 0}, {-3, 0, 4, 0, 0, -1, 0, 0}, {0, 3, 4, 0, 0, -1, 0, 0},
};

void perspective(RenderDevice& d) {
  d.SetTransform(D3DTS_PROJECTION, &Projection);
  d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  d.SetVertexShader(FVF_XYZ_NORMAL_TEX1);
}

// A 6 x 6 grid of quads tilted away from the camera, with normals bent towards its edges, so every
// vertex is lit differently and the colours between them are interpolated.
std::vector<VertexNormalTex> bentGrid() {
  constexpr int N = 6;
  auto vertex = [](int i, int j) {
    const float x = -3 + 6.0f * i / N, y = -3 + 6.0f * j / N;
    const float nx = x * 0.15f, ny = y * 0.15f, nz = -1;
    const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
    return VertexNormalTex{x, y, 4 + y * 0.5f, nx / length, ny / length, nz / length, 0, 0};
  };
  std::vector<VertexNormalTex> v;
  for (int j = 0; j < N; ++j)
    for (int i = 0; i < N; ++i)
      for (const auto& [di, dj] : {std::pair{0, 0}, {1, 0}, {0, 1}, {0, 1}, {1, 0}, {1, 1}})
        v.push_back(vertex(i + di, j + dj));
  return v;
}

void drawGrid(RenderDevice& d) {
  static const std::vector<VertexNormalTex> grid = bentGrid();
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<uint32_t>(grid.size() / 3), grid.data(), 32);
}

D3DLIGHT8 pointLight() {
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_POINT;
  light.Diffuse = {1, 0.5f, 0.25f, 1};
  light.Specular = {0.6f, 0.6f, 0.6f, 1};
  light.Ambient = {0.1f, 0.2f, 0.3f, 1};
  light.Range = 100;
  light.Attenuation0 = 0.5f, light.Attenuation1 = 0.1f, light.Attenuation2 = 0.02f;
  return light;
}

void pointLightScene(SceneTarget& t) {
  RenderDevice& d = t.device();
  perspective(d);
  D3DLIGHT8 light = pointLight();
  d.SetMaterial(&Material);
  d.SetLight(0, &light);
  d.LightEnable(0, true);
  d.SetRenderState(D3DRS_AMBIENT, 0x00404040u);
  d.SetRenderState(D3DRS_SPECULARENABLE, 1);
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32);
  t.snapshot("diamond");
  // Beyond its range the light adds nothing, not even its ambient part.
  light.Range = 4.9f;
  d.SetLight(0, &light);
  d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32);
  t.snapshot("out-of-range");
}

void attenuation(SceneTarget& t) {
  RenderDevice& d = t.device();
  perspective(d);
  d.SetMaterial(&Material);
  d.SetRenderState(D3DRS_SPECULARENABLE, 1);
  d.SetRenderState(D3DRS_AMBIENT, 0x00202020u);
  // Constant, linear and quadratic attenuation one at a time, a light off to the side; then a range
  // that cuts the grid in two.
  const float terms[4][3] = {{1, 0, 0}, {0, 0.25f, 0}, {0, 0, 0.05f}, {0.2f, 0.1f, 0.02f}};
  const char* labels[4] = {"constant", "linear", "quadratic", "range"};
  for (int i = 0; i < 4; ++i) {
    D3DLIGHT8 light = pointLight();
    light.Position = {2, 1, 1};
    light.Attenuation0 = terms[i][0], light.Attenuation1 = terms[i][1], light.Attenuation2 = terms[i][2];
    if (i == 3) light.Range = 4.5f;
    d.SetLight(1, &light);
    d.LightEnable(1, true);
    d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    drawGrid(d);
    t.snapshot(labels[i]);
  }
}

void directional(SceneTarget& t) {
  RenderDevice& d = t.device();
  perspective(d);
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {0.5f, 0.5f, 0.5f, 1};
  light.Specular = {0.4f, 0.2f, 0, 1};
  light.Direction = {0, 0, 2};  // need not be normalised
  d.SetMaterial(&Material);
  d.SetLight(3, &light);
  d.LightEnable(3, true);
  d.SetRenderState(D3DRS_SPECULARENABLE, 1);
  d.SetRenderState(D3DRS_LOCALVIEWER, 0);
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32);
  t.snapshot("infinite-viewer");
  d.SetRenderState(D3DRS_SPECULARENABLE, 0);
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32);
  t.snapshot("no-specular");
  // An oblique light over the bent grid, with the local viewer on and off.
  light.Direction = {0.5f, -0.7f, 1};
  light.Specular = {1, 1, 1, 1};
  d.SetLight(3, &light);
  D3DMATERIAL8 shiny = Material;
  shiny.Power = 12;
  d.SetMaterial(&shiny);
  d.SetRenderState(D3DRS_SPECULARENABLE, 1);
  for (int local = 0; local < 2; ++local) {
    d.SetRenderState(D3DRS_LOCALVIEWER, local);
    d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    drawGrid(d);
    t.snapshot(local ? "grid-local-viewer" : "grid-infinite-viewer");
  }
}

void ambientAndEmissive(SceneTarget& t) {
  RenderDevice& d = t.device();
  perspective(d);
  d.SetMaterial(&Material);
  // No light at all: emissive plus material ambient times the ambient level, as every frame of the
  // show sets it (0x80808080).
  d.SetRenderState(D3DRS_AMBIENT, 0x80808080u);
  drawGrid(d);
  t.snapshot("ambient-only");
  // Two lights: ambient parts add up; specular power 0 gives the bare attenuation.
  D3DLIGHT8 a = pointLight(), b = pointLight();
  b.Type = D3DLIGHT_DIRECTIONAL;
  b.Direction = {-0.3f, 0.2f, 1};
  b.Diffuse = {0.2f, 0.6f, 0.3f, 1};
  D3DMATERIAL8 flatShine = Material;
  flatShine.Power = 0;
  d.SetMaterial(&flatShine);
  d.SetLight(0, &a);
  d.SetLight(1, &b);
  d.LightEnable(0, true);
  d.LightEnable(1, true);
  d.SetRenderState(D3DRS_SPECULARENABLE, 1);
  d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  drawGrid(d);
  t.snapshot("two-lights");
}

void withoutNormals(SceneTarget& t) {
  RenderDevice& d = t.device();
  D3DLIGHT8 light{};
  light.Type = D3DLIGHT_DIRECTIONAL;
  light.Diffuse = {1, 1, 1, 1};
  light.Direction = {0, 0, 1};
  d.SetLight(0, &light);
  d.LightEnable(0, true);
  d.SetRenderState(D3DRS_AMBIENT, 0xFF808080u);
  d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d.SetMaterial(&Material);
  clear(d, 0);
  // The vertex colour replaces the material's diffuse, but without a normal it receives no light.
  drawQuad(d, 0, 0, 64, 64, 0xFFFFFFFFu);
  t.snapshot("lit-without-normals");
}

void reflection(SceneTarget& t) {
  RenderDevice& d = t.device();
  perspective(d);
  // The device layer's set-up: reflection vector, two coordinates, u = 0.5 x + 0.5, v = 0.5 y + 0.5.
  d.SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
  d.SetTextureStageState(1, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
  const D3DMATRIX sphereMap = {{0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1, 0, 0.5f, 0.5f, 0, 1}};
  d.SetTransform(D3DTS_TEXTURE1, &sphereMap);
  D3DMATERIAL8 dark{};
  dark.Emissive = {0.1f, 0.1f, 0.1f, 0};
  dark.Diffuse.a = 1;
  d.SetMaterial(&dark);
  // Quadrants of four colours: the reflected x and y decide.
  Texture* map = makeTexture(d, 2, 2, D3DFMT_X8R8G8B8, {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFF00u});
  d.SetTexture(1, map);
  d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);  // stage 0 passes the lit colour on
  d.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32);
  t.snapshot("diamond");
  d.SetTextureStageState(1, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  d.SetTextureStageState(1, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  drawGrid(d);
  t.snapshot("grid-linear");
  // Without a stage-0 texture, the default MODULATE(TEXTURE, CURRENT) skips stage 0 and so stage 1.
  d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  d.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, Diamond, 32);
  t.snapshot("stage-skipped");
  d.SetTexture(1, nullptr);
  map->Release();
}

void litWireframe(SceneTarget& t) {
  RenderDevice& d = t.device();
  perspective(d);
  D3DLIGHT8 light = pointLight();
  d.SetMaterial(&Material);
  d.SetLight(0, &light);
  d.LightEnable(0, true);
  d.SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
  // A texture-less wireframe pass shows its lit material colour.
  drawGrid(d);
  t.snapshot("grid");
}

}  // namespace

const std::vector<DeviceScene>& lightingScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"point-light", pointLightScene}, {"attenuation", attenuation},     {"directional", directional},
      {"ambient", ambientAndEmissive},  {"no-normals", withoutNormals},   {"reflection", reflection},
      {"lit-wireframe", litWireframe},
  };
  return scenes;
}

}  // namespace demo::scenes
