// The tunnel drawn by its own code through the show's device layer: a grid image whose texture
// coordinates and colours come from rays cast against the tube, blended over a backdrop so that the
// transparent black of the missing rays shows.

#include "fx/grid_image.h"
#include "fx/tunnel.h"
#include "scene_drawing.h"
#include "scene_groups.h"
#include "script/blend_modes.h"

namespace demo::scenes {

namespace {

// Panels of the tube's wall: 8 x 8 texels of varying colour, a bright seam along one edge.
Texture* wallTexture(RenderDevice& d) {
  std::vector<uint32_t> texels(64);
  for (uint32_t i = 0; i < 64; ++i)
    texels[i] = i % 8 == 0 ? 0xFFFFF0C0u : 0xFF000000u | (i * 29 % 256) << 16 | (128 + i * 7 % 128) << 8 | (i * 53 % 256);
  return makeTexture(d, 8, 8, D3DFMT_A8R8G8B8, texels);
}

void tunnel(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* source = wallTexture(d);
  GridImage grid(16, 12, 0, 0, 1, 1);
  if (grid.initImage(layer, source, 0, 0, 0, 1, 1)) {
    struct Shot {
      const char* label;
      Vec3 eye, target;
      float roll;
    };
    const Shot shots[] = {
        {"inside", {120, -60, 200}, {20, 40, 900}, 0.3f},
        {"rolled", {-300, 250, 5000}, {-200, 200, 4200}, -1.9f},
        {"beside", {1400, 300, 0}, {600, 350, 200}, 0.0f},
    };
    for (const Shot& shot : shots) {
      clear(d, 0xFF204060u);
      flat(d);
      layer.bindTexture(nullptr);
      drawQuad(d, 0, 32, 64, 64, 0xFFC08040u);
      setBlendStates(d, *matchBlendKeyword("mixalpha"));
      drawTunnel(layer, grid, shot.eye, shot.target, 0.8f, shot.roll, 1000.0f);
      t.snapshot(shot.label);
    }
  }
  layer.bindTexture(nullptr);
  source->Release();
}

}  // namespace

const std::vector<DeviceScene>& tunnelScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"tunnel-grid", tunnel, true},
  };
  return scenes;
}

}  // namespace demo::scenes
