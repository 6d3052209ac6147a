// Texture formats, pools, the texture stages and their arguments.

#include "scene_drawing.h"
#include "scene_groups.h"

namespace demo::scenes {

namespace {

// A 4 x 4 texture of distinct values per format, drawn over a quarter of the screen with point
// sampling and with linear filtering, modulated by a vertex colour.
void formats(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  struct Format {
    D3DFORMAT format;
    std::vector<uint32_t> texels;
  };
  std::vector<uint32_t> argb(16), x888(16), rgb565(16), argb4444(16);
  for (uint32_t i = 0; i < 16; ++i) {
    argb[i] = (i * 17) << 24 | (255 - i * 13) << 16 | (i * 11) << 8 | (i * 5 + 100);
    x888[i] = (i * 7) << 24 | (i * 16) << 16 | (255 - i * 16) << 8 | (i * 3);
    rgb565[i] = (i * 2) << 11 | (63 - i * 4) << 5 | (i + 15);
    argb4444[i] = i << 12 | (15 - i) << 8 | (i / 2) << 4 | (i % 4) * 5;
  }
  const Format formats[] = {{D3DFMT_A8R8G8B8, argb}, {D3DFMT_X8R8G8B8, x888}, {D3DFMT_R5G6B5, rgb565},
                            {D3DFMT_A4R4G4B4, argb4444}};
  d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  for (int pass = 0; pass < 2; ++pass) {
    const D3DTEXTUREFILTERTYPE filter = pass ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    d.SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    d.SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    clear(d, 0xFF204060u);
    for (int i = 0; i < 4; ++i) {
      Texture* texture = makeTexture(d, 4, 4, formats[i].format, formats[i].texels);
      d.SetTexture(0, texture);
      drawQuad(d, (i % 2) * 32, (i / 2) * 32, (i % 2) * 32 + 32, (i / 2) * 32 + 32, 0xFFFFFFFFu);
      drawQuad(d, (i % 2) * 32 + 8, (i / 2) * 32 + 8, (i % 2) * 32 + 24, (i / 2) * 32 + 24, 0x80C08040u);
      d.SetTexture(0, nullptr);
      texture->Release();
    }
    t.snapshot(pass ? "linear" : "point");
  }
}

void alphaArguments(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  Texture* texture = makeTexture(d, 1, 1, D3DFMT_A4R4G4B4, {0x8F00});  // alpha 8 of 15, red
  d.SetTexture(0, texture);
  d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  const uint32_t ops[] = {D3DTOP_MODULATE, D3DTOP_SELECTARG2, D3DTOP_SELECTARG1, D3DTOP_ADD};
  for (int i = 0; i < 4; ++i) {
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, ops[i]);
    drawQuad(d, i * 16, 0, i * 16 + 16, 64, 0x33FFFFFFu);
  }
  t.snapshot("ops");
  texture->Release();
}

void defaultPoolAndUpdate(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  Texture* system = makeTexture(d, 2, 1, D3DFMT_R5G6B5, {0xF800, 0x07E0}, D3DPOOL_SYSTEMMEM);
  Texture* video = nullptr;
  d.CreateTexture(2, 1, 1, 0, D3DFMT_R5G6B5, D3DPOOL_DEFAULT, &video);
  if (!system || !video) return;
  d.UpdateTexture(system, video);
  d.SetTexture(0, video);
  drawQuad(d, 0, 0, 64, 64, 0xFFFFFFFFu);
  t.snapshot("updated");
  d.SetTexture(0, nullptr);
  system->Release();
  video->Release();
}

void stageArguments(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  // No texture: MODULATE(TEXTURE, CURRENT) skips the stage and the vertex colour shows.
  drawQuad(d, 0, 0, 32, 32, 0xFF204060u);
  // The texture factor instead of the texture runs the stage.
  d.SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF808080u);
  d.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  drawQuad(d, 32, 0, 64, 32, 0xFF204060u);
  // A texture with SELECTARG1, ADD and a complemented argument.
  Texture* texture = makeTexture(d, 2, 2, D3DFMT_X8R8G8B8, {0x400000, 0x004000, 0x000040, 0x404040});
  d.SetTexture(0, texture);
  d.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_ADD);
  drawQuad(d, 0, 32, 32, 64, 0xFF802010u);
  d.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE | D3DTA_COMPLEMENT);
  d.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  drawQuad(d, 32, 32, 64, 64, 0xFF80C0F0u);
  t.snapshot("args");
  d.SetTexture(0, nullptr);
  texture->Release();
}

// A wide texture of alternating dark and bright texels magnified with linear filtering at a different
// phase on every row, drawn as it is and then through the colour blend SRCCOLOR/ZERO, which squares
// it, so that a one-step error in a bright texel mix becomes two. A sampler that rounds the texel
// coordinate (llvmpipe's, to 1/256 of a texel) turns any offset of the coordinate beyond Direct3D's
// into whole steps here.
void linearMagnified(SceneTarget& t) {
  RenderDevice& d = t.device();
  flat(d);
  d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  std::vector<uint32_t> texels(256);
  for (uint32_t i = 0; i < 256; ++i) texels[i] = i % 2 ? 0xFFF0E0u : (i * 29 % 64) << 16 | 0x10u << 8 | 0x20u;
  Texture* texture = makeTexture(d, 256, 1, D3DFMT_X8R8G8B8, texels);
  d.SetTexture(0, texture);
  for (bool squared : {false, true}) {
    clear(d, 0xFF000000u);
    d.SetRenderState(D3DRS_ALPHABLENDENABLE, squared);
    d.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCCOLOR);
    d.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    for (int row = 0; row < 64; ++row) {
      const float u0 = 0.3f + 0.0011f * float(row);  // 27.3 texels over the 64 pixels of a row
      drawQuad(d, 0, row, 64, row + 1, 0xFFFFFFFFu, 0.5f, u0, 0, u0 + 27.3f / 256, 1);
    }
    t.snapshot(squared ? "squared" : "plain");
  }
  d.SetTexture(0, nullptr);
  texture->Release();
}

}  // namespace

const std::vector<DeviceScene>& textureScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"texture-formats", formats},
      {"alpha-ops", alphaArguments},
      {"default-pool", defaultPoolAndUpdate},
      {"stage-args", stageArguments},
      {"linear-magnified", linearMagnified},
  };
  return scenes;
}

}  // namespace demo::scenes
