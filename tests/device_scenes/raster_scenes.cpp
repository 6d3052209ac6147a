// Clearing, rasterisation, blending, depth, culling, wireframe and indexed drawing.

#include <cstring>

#include "scene_groups.h"
#include "scene_drawing.h"

namespace demo::scenes {

namespace {

void clearScene(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF3366CCu);
  t.snapshot("whole");
  const D3DRECT top{0, 0, 64, 8};
  d.Clear(1, &top, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0);
  const D3DRECT corner{40, 40, 64, 64};
  d.Clear(1, &corner, D3DCLEAR_TARGET, 0xFF20E040u, 1.0f, 0);
  t.snapshot("rectangles");
}

void texelPlacement(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  std::vector<uint32_t> texels(16);
  for (uint32_t i = 0; i < 16; ++i) texels[i] = 0xFF000000u | (i * 16) << 16 | (255 - i * 16) << 8 | (i % 4) * 80;
  Texture* texture = makeTexture(d, 4, 4, D3DFMT_A8R8G8B8, texels);
  d.SetTexture(0, texture);
  drawQuad(d, 0, 0, 64, 64, 0xFFFFFFFFu);
  t.snapshot("texels");
  // Quads on integer edges, as the 2D layers draw them: each covers exactly its pixels.
  clear(d, 0xFF000000u);
  d.SetTexture(0, nullptr);
  drawQuad(d, 32, 16, 64, 48, 0xFFFFFFFFu);
  drawQuad(d, 3, 5, 10, 29, 0xFF00FF00u);
  t.snapshot("edges");
  texture->Release();
}

void wrapAndFilter(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  Texture* texture = makeTexture(d, 2, 1, D3DFMT_X8R8G8B8, {0x00FF0000u, 0x000000FFu});
  d.SetTexture(0, texture);
  drawQuad(d, 0, 0, 64, 32, 0xFFFFFFFFu, 0.5f, 0, 0, 2, 1);  // u runs to 2: the texture twice
  d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  drawQuad(d, 0, 32, 64, 64, 0xFFFFFFFFu, 0.5f, 0, 0, 1, 1);
  t.snapshot("repeat-point-linear");
  // Clamped addressing stretches the edge texels; a 0.9 -> 0.1 ramp interpolates straight through 0.5.
  // (D3DRS_WRAP0, which takes the short way across the seam, is left out: Wine does not implement it.)
  clear(d, 0xFF000000u);
  d.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
  drawQuad(d, 0, 0, 64, 32, 0xFFFFFFFFu, 0.5f, -1, 0, 2, 1);
  d.SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_WRAP);
  drawQuad(d, 0, 32, 64, 64, 0xFFFFFFFFu, 0.5f, 0.9f, 0, 0.1f, 1);
  t.snapshot("clamp-ramp");
  texture->Release();
}

void blendFactors(SceneTarget& t) {
  RenderDevice& d = t.device();
  flat(d);
  // Every source/destination pair the show's blend modes use, and a few more, in 8 x 8 cells over a
  // destination of 0x4080C0; source colour (128, 64, 32) with alpha 0x66, then a second colour.
  const uint32_t factors[] = {D3DBLEND_ZERO,     D3DBLEND_ONE,         D3DBLEND_SRCCOLOR,
                              D3DBLEND_INVSRCCOLOR, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
                              D3DBLEND_DESTCOLOR, D3DBLEND_INVDESTCOLOR};
  clear(d, 0xFF4080C0u);
  d.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  for (int s = 0; s < 8; ++s)
    for (int k = 0; k < 8; ++k) {
      d.SetRenderState(D3DRS_SRCBLEND, factors[s]);
      d.SetRenderState(D3DRS_DESTBLEND, factors[k]);
      drawQuad(d, k * 8, s * 8, k * 8 + 8, s * 8 + 8, (s + k) % 2 ? 0x66804020u : 0xC0F0A010u);
    }
  t.snapshot("pairs");
  // Blending off copies the source whatever the factors say.
  d.SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  drawQuad(d, 16, 16, 48, 48, 0x66804020u);
  t.snapshot("off");
}

void depthTest(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  drawQuad(d, 0, 0, 64, 64, 0xFFFF0000u, 0.25f);
  drawQuad(d, 0, 0, 64, 64, 0xFF00FF00u, 0.75f);  // farther: hidden
  drawQuad(d, 0, 0, 32, 64, 0xFF0000FFu, 0.25f);  // equal depth passes LESSEQUAL
  t.snapshot("lessequal");
  // A sloped quad through the others: the crossing line shows how both devices round depth.
  const VertexColorTex slope[4] = {{-1, 1, 0, 0xFFFFFF00u, 0, 0}, {1, 1, 1, 0xFFFFFF00u, 0, 0},
                                   {-1, -1, 0, 0xFFFFFF00u, 0, 0}, {1, -1, 1, 0xFFFFFF00u, 0, 0}};
  d.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, slope, sizeof(VertexColorTex));
  t.snapshot("slope");
  d.SetRenderState(D3DRS_ZENABLE, 0);
  drawQuad(d, 0, 0, 64, 32, 0xFF00FF00u, 0.75f);
  d.SetRenderState(D3DRS_ZENABLE, 1);
  d.SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATER);
  drawQuad(d, 0, 32, 64, 64, 0xFFFF00FFu, 0.6f);
  t.snapshot("off-greater");
  // Depth writes off: a near quad does not hide a farther one drawn after it.
  d.SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  d.SetRenderState(D3DRS_ZWRITEENABLE, 0);
  clear(d, 0xFF000000u);
  drawQuad(d, 0, 0, 64, 64, 0xFFFF0000u, 0.25f);
  drawQuad(d, 0, 0, 64, 64, 0xFF00FF00u, 0.75f);
  t.snapshot("no-writes");
}

// Where inside a pixel the device samples: a depth ramp of 1/64 per pixel against flat bands whose
// depths step by 1/16 of a pixel around column 16 (rows) and row 16 (columns); the column and row at
// which the ramp starts to pass tells the sample position to 1/16 of a pixel.
void samplePosition(SceneTarget& t) {
  RenderDevice& d = t.device();
  flat(d);
  d.SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  d.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  for (int vertical = 0; vertical < 2; ++vertical) {
    clear(d, 0xFF000000u);
    for (int k = 0; k < 8; ++k) {
      const float z = (16 + (k - 4) / 16.0f) / 64.0f;
      if (vertical)
        drawQuad(d, k * 8, 0, k * 8 + 8, 64, 0xFF0000FFu, z);
      else
        drawQuad(d, 0, k * 8, 64, k * 8 + 8, 0xFF0000FFu, z);
    }
    const VertexColorTex horizontal[4] = {{-1, 1, 0, 0xFFFFFF00u, 0, 0}, {1, 1, 1, 0xFFFFFF00u, 0, 0},
                                          {-1, -1, 0, 0xFFFFFF00u, 0, 0}, {1, -1, 1, 0xFFFFFF00u, 0, 0}};
    const VertexColorTex downwards[4] = {{-1, 1, 0, 0xFFFFFF00u, 0, 0}, {1, 1, 0, 0xFFFFFF00u, 0, 0},
                                         {-1, -1, 1, 0xFFFFFF00u, 0, 0}, {1, -1, 1, 0xFFFFFF00u, 0, 0}};
    d.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertical ? downwards : horizontal, sizeof(VertexColorTex));
    t.snapshot(vertical ? "y" : "x");
  }
}

void culling(SceneTarget& t) {
  RenderDevice& d = t.device();
  d.SetRenderState(D3DRS_LIGHTING, 0);
  // Clockwise on screen (y down): left, top-right, bottom-right; and the same reversed.
  const VertexColorTex cw[3] = {{clipX(0), clipY(0), 0.5f, 0xFFFF0000u, 0, 0},
                                {clipX(32), clipY(0), 0.5f, 0xFFFF0000u, 0, 0},
                                {clipX(32), clipY(32), 0.5f, 0xFFFF0000u, 0, 0}};
  VertexColorTex ccw[3] = {cw[0], cw[2], cw[1]};
  for (VertexColorTex& v : ccw) v.diffuse = 0xFF00FF00u, v.y -= 1.0f;
  const uint32_t modes[] = {D3DCULL_CCW, D3DCULL_CW, D3DCULL_NONE};
  const char* labels[] = {"ccw", "cw", "none"};
  d.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  for (int m = 0; m < 3; ++m) {
    clear(d, 0xFF000000u);
    if (m > 0) d.SetRenderState(D3DRS_CULLMODE, modes[m]);  // the first pass keeps the default
    d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof(VertexColorTex));
    d.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(VertexColorTex));
    t.snapshot(labels[m]);
  }
}

void wireframe(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  d.SetRenderState(D3DRS_LIGHTING, 0);
  d.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  d.SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
  drawQuad(d, 8, 8, 56, 56, 0xFFFFFFFFu);  // a strip: its diagonal is an edge too
  t.snapshot("strip");
  // With culling on, the clockwise strip stays and the same strip upside down vanishes.
  clear(d, 0xFF000000u);
  d.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  drawQuad(d, 4, 4, 30, 30, 0xFFFFFF00u);
  drawQuad(d, 34, 60, 60, 34, 0xFF00FFFFu);
  t.snapshot("culled");
}

void indexedDraws(SceneTarget& t) {
  RenderDevice& d = t.device();
  clear(d, 0xFF000000u);
  flat(d);
  VertexBuffer* vb = nullptr;
  IndexBuffer* ib = nullptr;
  d.CreateVertexBuffer(5 * 24, D3DUSAGE_WRITEONLY, FVF_XYZ_DIFFUSE_TEX1, D3DPOOL_SYSTEMMEM, &vb);
  d.CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &ib);
  if (!vb || !ib) return;
  const VertexColorTex v[5] = {{0, 0, 0, 0, 0, 0},  // unused first vertex: the base index skips it
                               {clipX(0), clipY(0), 0.5f, 0xFF00FF00u, 0, 0},
                               {clipX(64), clipY(0), 0.5f, 0xFF0000FFu, 0, 0},
                               {clipX(0), clipY(32), 0.5f, 0xFFFF0000u, 0, 0},
                               {clipX(64), clipY(32), 0.5f, 0xFFFFFFFFu, 0, 0}};
  uint8_t* data = nullptr;
  vb->Lock(0, 0, &data, 0);
  std::memcpy(data, v, sizeof v);
  vb->Unlock();
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  ib->Lock(0, 0, &data, 0);
  std::memcpy(data, indices, sizeof indices);
  ib->Unlock();
  d.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  d.SetStreamSource(0, vb, 24);
  d.SetIndices(ib, 1);
  d.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2);
  // The same from user memory, moved down by half the screen.
  VertexColorTex lower[4];
  for (int i = 0; i < 4; ++i) lower[i] = v[i + 1], lower[i].y -= 1.0f;
  d.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 2, indices, D3DFMT_INDEX16, lower, 24);
  t.snapshot("buffers-and-memory");
  d.SetStreamSource(0, nullptr, 0);
  d.SetIndices(nullptr, 0);
  vb->Release();
  ib->Release();
}

}  // namespace

const std::vector<DeviceScene>& rasterScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"clear", clearScene},
      {"texel-placement", texelPlacement},
      {"wrap-filter", wrapAndFilter},
      {"blend", blendFactors},
      {"depth", depthTest},
      {"sample-position", samplePosition},
      {"cull", culling},
      {"wireframe", wireframe},
      {"indexed", indexedDraws},
  };
  return scenes;
}

}  // namespace demo::scenes
