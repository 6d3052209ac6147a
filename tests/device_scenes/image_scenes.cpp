// The show's 2D layers drawn by their own code through the show's device layer: images in the eight
// blend modes, placed, mirrored, faded and blurred, and a grid image warped by 2D blobs.

#include <string>

#include "fx/blobs_2d.h"
#include "fx/grid_image.h"
#include "fx/image.h"
#include "scene_drawing.h"
#include "scene_groups.h"
#include "script/blend_modes.h"

namespace demo::scenes {

namespace {

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

// The 32-bit source an image is made from, as loadtexture leaves it: 8 x 8 texels of varying colour
// and alpha.
Texture* sourceTexture(RenderDevice& d) {
  std::vector<uint32_t> texels(64);
  for (uint32_t i = 0; i < 64; ++i)
    texels[i] = (i * 4 + 3) << 24 | (255 - i * 3) << 16 | (i * 37 % 256) << 8 | (i * 91 % 256);
  return makeTexture(d, 8, 8, D3DFMT_A8R8G8B8, texels);
}

struct Layout {
  float x, y, width, height;
  D3DCOLOR colour;
};

void place(Image& image, const Layout& at) {
  image.x = at.x, image.y = at.y, image.width = at.width, image.height = at.height, image.colour = at.colour;
}

void blendModes(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* source = sourceTexture(d);
  for (uint8_t alphaFlag : {1, 0}) {
    Image image;
    if (!image.initImage(layer, source, alphaFlag, 0, 0, 1, 1)) break;
    clear(d, 0xFF000000u);
    backdrop(d);
    // One cell of 16 x 32 pixels per mode, the image magnified (linear filtering, as the show sets it).
    for (int i = 0; i < BlendModeCount; ++i) {
      setBlendStates(d, blendKeywords[i]);
      place(image, {(i % 4) / 4.0f, (i / 4) / 2.0f, 0.25f, 0.5f, 0xC0FFE0A0u});
      image.draw(layer);
    }
    t.snapshot(alphaFlag ? "texture-alpha" : "vertex-alpha");
  }
  layer.bindTexture(nullptr);
  source->Release();
}

void placement(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* source = sourceTexture(d);
  Image whole, part, blurred;
  if (!whole.initImage(layer, source, 1, 0, 0, 1, 1) || !part.initImage(layer, source, 0, 0.25f, 0.5f, 0.75f, 1) ||
      !blurred.initImage(layer, source, 1, 0, 0, 1, 1)) {
    source->Release();
    return;
  }
  setBlurLevel(blurred, 3);
  clear(d, 0xFF404040u);
  setBlendStates(d, *matchBlendKeyword("mixalpha"));
  // Edges between pixels and through them, a texture rectangle mirrored, a fading and a blurred image.
  place(whole, {0.5f, 0.25f, 0.5f, 0.5f, 0xFFFFFFFFu});
  whole.draw(layer);
  place(whole, {0.1f, 0.05f, 0.3f, 0.2f, 0x60FFFFFFu});
  whole.draw(layer);
  place(part, {0.45f, 0.8f, -0.4f, 0.15f, 0xFFFFFFFFu});
  part.draw(layer);
  place(blurred, {0.0f, 0.3f, 0.45f, 0.45f, 0xFFFFFFFFu});
  blurred.draw(layer);
  t.snapshot("rectangles");
  // Mirrored across the whole screen with point sampling: the left edge's pixel centres sit exactly at
  // u = 1, which wraps round to the first texel, and the middle column's at u = 0.5.
  Texture* pair = makeTexture(d, 2, 1, D3DFMT_A8R8G8B8, {0xFFFF0000u, 0xFF00FF00u});
  Image mirrored;
  if (mirrored.initImage(layer, pair, 0, 0, 0, 1, 1)) {
    clear(d, 0xFF404040u);
    d.SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_POINT);
    d.SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_POINT);
    setBlendStates(d, *matchBlendKeyword("copy"));
    place(mirrored, {1.0f, 0.0f, -1.0f, 1.0f, 0xFFFFFFFFu});
    mirrored.draw(layer);
    t.snapshot("mirrored-point");
  }
  layer.bindTexture(nullptr);
  pair->Release();
  source->Release();
}

void gridImage(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* source = sourceTexture(d);
  GridImage grid(12, 9, 0, 0, 1, 1);
  if (!grid.initImage(layer, source, 0, 0, 0, 1, 1)) {
    source->Release();
    return;
  }
  Blobs2D blobs(grid);
  setBlendStates(d, *matchBlendKeyword("copy"));
  place(grid, {0.05f, 0.1f, 0.9f, 0.8f, 0xFFFFFFFFu});
  // The blobs at three moments of the show (phase = milliseconds x 0.01).
  for (float phase : {0.0f, 12.5f, 61.0f}) {
    clear(d, 0xFF102030u);
    blobs.updateAndDraw(layer, phase);
    t.snapshot(phase == 0.0f ? "blobs-0" : phase < 20 ? "blobs-1" : "blobs-2");
  }
  layer.bindTexture(nullptr);
  source->Release();
}

// The show's tiled image 1.5 screens wide and high, moving along the screen's diagonal as the
// showcase moves it, so that its own diagonal runs through the back buffer's corners: clipped at the
// edges, the pieces of its triangles must still sample the whole triangle's texture plane. The
// texture alternates red by column and green by row, so that a pixel's colour tells its texture
// coordinates to the sampler's precision, and the colour blend squares it.
void clippedDiagonal(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  std::vector<uint32_t> texels(64 * 64);
  for (uint32_t i = 0; i < texels.size(); ++i)
    texels[i] = 0xFF000000u | (i % 2 ? 0xFF0000u : 0) | ((i / 64) % 2 ? 0xFF00u : 0);
  Texture* source = makeTexture(d, 64, 64, D3DFMT_A8R8G8B8, texels);
  Image tiles;
  if (tiles.initImage(layer, source, 0, 0, 0, 4, 3)) {
    setBlendStates(d, *matchBlendKeyword("copycolor"));
    for (int i = 0; i < 6; ++i) {
      // x = -0.5 ... 0 while y = 0 ... -0.5: the translation (2x + 0.5, -0.5 - 2y) keeps x = y.
      const float x = -0.05f - 0.08f * float(i);
      clear(d, 0xFF000000u);
      place(tiles, {x, -0.5f - x, 1.5f, 1.5f, 0xFFFFFFFFu});
      tiles.draw(layer);
      t.snapshot(("at-" + std::to_string(i)).c_str());
    }
  }
  layer.bindTexture(nullptr);
  source->Release();
}

}  // namespace

const std::vector<DeviceScene>& imageScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"image-blend-modes", blendModes, true},
      {"image-placement", placement, true},
      {"grid-image", gridImage, true},
      {"image-clipped-diagonal", clippedDiagonal, true},
  };
  return scenes;
}

}  // namespace demo::scenes
