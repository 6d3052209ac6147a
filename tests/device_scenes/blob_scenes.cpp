// The metaballs drawn by their own code through the show's device layer, as playblobs draws them: a
// lit, environment-mapped solid with a faint wireframe over it, right after an image (which turns
// lighting off).

#include "fx/blob_system.h"
#include "fx/image.h"
#include "scene_drawing.h"
#include "scene_groups.h"
#include "script/blend_modes.h"

namespace demo::scenes {

namespace {

// 16 x 16 texels of smoothly varying colour, so that the picture moving with the normals shows.
Texture* environmentSource(RenderDevice& d) {
  std::vector<uint32_t> texels(256);
  for (uint32_t y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 16; ++x) texels[y * 16 + x] = 0xFF000000u | (x * 16 + 8) << 16 | 0x60 << 8 | (y * 16 + 8);
  return makeTexture(d, 16, 16, D3DFMT_A8R8G8B8, texels);
}

void metaballs(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* source = environmentSource(d);
  Texture* grey = makeTexture(d, 1, 1, D3DFMT_A8R8G8B8, {0xFF303840u});
  Image environment, backdrop;
  std::unique_ptr<BlobSystem> system = createBlobSystem(layer);
  if (system && environment.initImage(layer, source, 0, 0, 0, 1, 1) && backdrop.initImage(layer, grey, 0, 0, 0, 1, 1)) {
    // Three moments: the five balls in one lump, two lumps apart, two merging; the light turned
    // another way each time.
    for (float phase : {0.0f, 3.0f, 4.4f}) {
      clear(d, 0xFF000000u);
      d.SetRenderState(D3DRS_AMBIENT, 0x80808080u);  // as every frame of the show
      setBlendStates(d, *matchBlendKeyword("copy"));
      backdrop.draw(layer);
      system->drawBlobs(layer, phase, environment);
      t.snapshot(phase == 0.0f ? "phase-0" : phase < 4 ? "phase-3" : "phase-4.4");
    }
  }
  layer.bindTexture(nullptr);
  grey->Release();
  source->Release();
}

}  // namespace

const std::vector<DeviceScene>& blobScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"metaballs", metaballs, true},
  };
  return scenes;
}

}  // namespace demo::scenes
