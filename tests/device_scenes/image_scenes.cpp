// The 2D image quad of the show, drawn through the show's device layer with its eight blend modes.

#include "scene_drawing.h"
#include "scene_groups.h"
#include "script/blend_modes.h"

namespace demo::scenes {

namespace {

// The image drawer's steps: the quad placed by the world stack, the image projection (a vertex
// (x, y, 1) lands at clip (x, y) with depth 0), 2D render states, a strip of four vertices.
// (The drawer itself lives in src/fx; until it is in, this is its sequence of calls.)
void drawImageQuad(DeviceLayer& layer, Texture* texture, float x, float y, float w, float h, D3DCOLOR colour,
                   bool alphaFlag) {
  RenderDevice& d = *layer.device();
  layer.selectTransformStack(0);
  layer.pushTransform();
  layer.topTransform() = {{w, 0, 0, 0, 0, h, 0, 0, 0, 0, 1, 0, 2 * x + w - 1, 1 - (2 * y + h), 0, 1}};
  layer.applyTransform();
  layer.selectTransformStack(1);
  layer.topTransform() = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -2, 0}};
  layer.applyTransform();
  layer.bindTexture(texture);
  d.SetRenderState(D3DRS_ZENABLE, 0);
  d.SetRenderState(D3DRS_ZWRITEENABLE, 0);
  d.SetRenderState(D3DRS_LIGHTING, 0);
  d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d.SetTextureStageState(0, D3DTSS_ALPHAOP, alphaFlag ? D3DTOP_MODULATE : D3DTOP_SELECTARG2);
  d.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  const VertexColorTex quad[4] = {{-1, 1, 1, colour, 0, 0}, {1, 1, 1, colour, 1, 0},
                                  {-1, -1, 1, colour, 0, 1}, {1, -1, 1, colour, 1, 1}};
  d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex));
  layer.popTransform();
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.popTransform();
  layer.applyTransform();
}

// A backdrop with every channel varying, so that each blend mode's use of the destination shows.
void backdrop(RenderDevice& d) {
  d.SetRenderState(D3DRS_LIGHTING, 0);
  d.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  d.SetTexture(0, nullptr);
  const VertexColorTex corners[4] = {{-1, 1, 0.5f, 0xFF2040F0u, 0, 0}, {1, 1, 0.5f, 0x80F04020u, 0, 0},
                                     {-1, -1, 0.5f, 0x4040F040u, 0, 0}, {1, -1, 0.5f, 0xFFFFFF80u, 0, 0}};
  d.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, corners, sizeof(VertexColorTex));
}

// 4 x 4 texels of varying colour and alpha, as an image's 16-bit copy with alpha holds them.
Texture* imageTexture(RenderDevice& d) {
  std::vector<uint32_t> texels(16);
  for (uint32_t i = 0; i < 16; ++i) texels[i] = i << 12 | (15 - i) << 8 | (i * 7 % 16) << 4 | (i * 3 % 16);
  return makeTexture(d, 4, 4, D3DFMT_A4R4G4B4, texels);
}

void blendModes(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* texture = imageTexture(d);
  for (int alphaFlag = 1; alphaFlag >= 0; --alphaFlag) {
    clear(d, 0xFF000000u);
    backdrop(d);
    // One cell of 16 x 32 pixels per mode, the image magnified four and eight times (linear filtering).
    for (int i = 0; i < BlendModeCount; ++i) {
      setBlendStates(d, blendKeywords[i]);
      drawImageQuad(layer, texture, (i % 4) / 4.0f, (i / 4) / 2.0f, 0.25f, 0.5f, 0xC0FFE0A0u, alphaFlag);
    }
    t.snapshot(alphaFlag ? "texture-alpha" : "vertex-alpha");
  }
  layer.bindTexture(nullptr);
  texture->Release();
}

void placement(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* texture = imageTexture(d);
  clear(d, 0xFF404040u);
  setBlendStates(d, *matchBlendKeyword("mixalpha"));
  // Edges between pixels, edges through them, a mirrored image and one fading out.
  drawImageQuad(layer, texture, 0.5f, 0.25f, 0.5f, 0.5f, 0xFFFFFFFFu, true);
  drawImageQuad(layer, texture, 0.1f, 0.05f, 0.3f, 0.2f, 0xFFFFFFFFu, true);
  drawImageQuad(layer, texture, 0.45f, 0.8f, -0.4f, 0.15f, 0xFFFFFFFFu, false);
  drawImageQuad(layer, texture, 0.0f, 0.3f, 0.45f, 0.45f, 0x60FFFFFFu, true);
  t.snapshot("rectangles");
  layer.bindTexture(nullptr);
  texture->Release();
}

}  // namespace

const std::vector<DeviceScene>& imageScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"image-blend-modes", blendModes, true},
      {"image-placement", placement, true},
  };
  return scenes;
}

}  // namespace demo::scenes
