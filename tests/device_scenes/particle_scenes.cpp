// Particle systems drawn by their own code through the show's device layer, as showparticles draws
// them: additive sprites from a vertex and an index buffer, and more sprites than 16-bit indices
// reach, drawn in batches from their own base vertices.

#include <cmath>

#include "fx/image.h"
#include "fx/particle_system.h"
#include "fx/random.h"
#include "scene_drawing.h"
#include "scene_groups.h"

namespace demo::scenes {

namespace {

// A soft round spark, 16 x 16: white, its alpha falling off from the centre.
Texture* sparkTexture(RenderDevice& d) {
  std::vector<uint32_t> texels(16 * 16);
  for (uint32_t i = 0; i < texels.size(); ++i) {
    const float dx = float(i % 16) - 7.5f, dy = float(i / 16) - 7.5f;
    const float fall = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) / 8.0f);
    texels[i] = uint32_t(fall * 255.0f) << 24 | 0xFFFFFFu;
  }
  return makeTexture(d, 16, 16, D3DFMT_A8R8G8B8, texels);
}

// Sparks born in a box in front of the camera, falling and fading over a backdrop that shows the
// additive blend, at two moments of one second of frames.
void sparks(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* source = sparkTexture(d);
  Image image;
  if (image.initImage(layer, source, 1, 0, 0, 1, 1)) {
    image.width = image.height = 1.5f;
    image.colour = 0xC0FFA040u;
    ParticleSystem system(&image, 64);
    system.createBuffers(d);
    const float box[2][3] = {{-4, -2, 8}, {4, 4, 12}};
    for (int axis = 0; axis < 3; ++axis) {
      system.posMin[axis] = box[0][axis], system.posMax[axis] = box[1][axis];
      system.accMin[axis] = axis == 1 ? -6.0f : 0.0f, system.accMax[axis] = axis == 1 ? -2.0f : 0.0f;
    }
    system.lifeMin = 0.4f;
    system.lifeMax = 1.2f;
    system.birthInterval = 0.02f;
    system.restart(0.0f);
    // As an image with texture alpha leaves stage 0: texture alpha times the colour's.
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    Random random;
    for (uint32_t ms = 0; ms <= 1000; ms += 40) {
      clear(d, 0xFF102040u);
      flat(d);
      layer.bindTexture(nullptr);
      drawQuad(d, 0, 40, 64, 64, 0xFF405020u);
      SceneDraw pass{layer, random, ms};
      drawInCameraSpace(system, pass);
      if (ms == 480) t.snapshot("half-second");
      if (ms == 1000) t.snapshot("one-second");
    }
  }
  layer.bindTexture(nullptr);
  source->Release();
}

// 20,000 sprites in two lattices, left and right: the first 16,384 in the live list fill the left
// half, the rest the right half, so a batch whose indices wrapped round would draw across both.
void batches(SceneTarget& t) {
  DeviceLayer& layer = *t.layer();
  RenderDevice& d = t.device();
  Texture* white = makeTexture(d, 2, 2, D3DFMT_A8R8G8B8, {~0u, ~0u, ~0u, ~0u});
  Image image;
  if (image.initImage(layer, white, 1, 0, 0, 1, 1)) {
    image.width = image.height = 0.5f;
    image.colour = 0xFF080604u;
    ParticleSystem system(&image, 20000);
    system.createBuffers(d);
    system.lifeMin = system.lifeMax = 100.0f;
    Random random;
    for (int i = 0; i < 20000; ++i) system.spawnOne(random);
    uint32_t rank = 0;
    for (uint16_t i = system.liveHead; i != ParticleSystem::EndOfList; i = system.links[i], ++rank) {
      Particle& p = system.particles[i];
      const bool left = rank < ParticleSystem::SpritesPerBatch;
      const uint32_t s = left ? rank : rank - ParticleSystem::SpritesPerBatch;
      const uint32_t columns = left ? 128 : 60;
      const float spacingY = left ? 20.0f / 128 : 20.0f / 61;
      p.position[0] = (left ? -10.0f : 0.0f) + (float(s % columns) + 0.5f) * 10.0f / float(columns);
      p.position[1] = -10.0f + (float(s / columns) + 0.5f) * spacingY;
      p.position[2] = 10.0f;
      for (int axis = 0; axis < 3; ++axis) p.velocity[axis] = p.acceleration[axis] = 0.0f;
    }
    d.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    clear(d, 0xFF000000u);
    SceneDraw pass{layer, random, 0};
    drawInCameraSpace(system, pass);
    t.snapshot("two-batches");
  }
  layer.bindTexture(nullptr);
  white->Release();
}

}  // namespace

const std::vector<DeviceScene>& particleScenes() {
  static const std::vector<DeviceScene> scenes = {
      {"particle-sparks", sparks, true},
      {"particle-batches", batches, true},
  };
  return scenes;
}

}  // namespace demo::scenes
