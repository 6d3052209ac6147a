#include "fx/particle_system.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "scene/perspective.h"
#include "scene/scene.h"

namespace demo {

namespace {

// Texture coordinates of a sprite's four corners: left-bottom, left-top, right-bottom, right-top.
constexpr float cornerU[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr float cornerV[4] = {1.0f, 0.0f, 1.0f, 0.0f};
// Two triangles per sprite over its four corners.
constexpr uint16_t spriteIndices[6] = {0, 1, 2, 2, 1, 3};

// A value between lo and hi from the shared sequence, in the order of operations the C expression
// lo + rand() * (hi - lo) / RAND_MAX gives in floats.
float between(Random& random, float lo, float hi) {
  return lo + static_cast<float>(random.next()) * (hi - lo) / static_cast<float>(Random::Max);
}

void fillCorners(VertexColorTex* vertices, uint32_t sprites) {
  for (uint32_t k = 0; k < sprites; ++k)
    for (uint32_t c = 0; c < 4; ++c) vertices[4 * k + c] = {0.0f, 0.0f, 0.0f, 0u, cornerU[c], cornerV[c]};
}

}  // namespace

ParticleSystem::ParticleSystem(Image* image, uint32_t capacity)
    : image(image),
      capacity(std::min(capacity, MaxCapacity)),
      birthInterval(static_cast<float>(this->capacity) * 0.5f),
      particles(this->capacity),
      links(this->capacity) {
  chainFreeList();
}

ParticleSystem::~ParticleSystem() {
  if (vertexBuffer) vertexBuffer->Release();
  if (indexBuffer) indexBuffer->Release();
}

void ParticleSystem::chainFreeList() {
  for (uint32_t i = 0; i < capacity; ++i) links[i] = i + 1 < capacity ? static_cast<uint16_t>(i + 1) : EndOfList;
  freeHead = capacity ? 0 : EndOfList;
  liveHead = EndOfList;
}

void ParticleSystem::createBuffers(RenderDevice& device) {
  if (capacity == 0) return;
  uint8_t* bytes = nullptr;
  if (!vertexBuffer) {
    const uint32_t length = capacity * 4 * sizeof(VertexColorTex);
    if (device.CreateVertexBuffer(length, D3DUSAGE_WRITEONLY, FVF_XYZ_DIFFUSE_TEX1, D3DPOOL_SYSTEMMEM,
                                  &vertexBuffer) != D3D_OK)
      vertexBuffer = nullptr;
    // A buffer whose texture coordinates could not be written would draw garbage: drop it.
    if (vertexBuffer && vertexBuffer->Lock(0, 0, &bytes, 0) == D3D_OK && bytes) {
      fillCorners(reinterpret_cast<VertexColorTex*>(bytes), capacity);
      vertexBuffer->Unlock();
    } else if (vertexBuffer) {
      vertexBuffer->Release();
      vertexBuffer = nullptr;
    }
  }
  if (!indexBuffer) {
    // One batch of sprites is all the index buffer ever needs: each batch has its own base vertex.
    const uint32_t sprites = std::min(capacity, SpritesPerBatch);
    if (device.CreateIndexBuffer(sprites * 6 * sizeof(uint16_t), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16,
                                 D3DPOOL_SYSTEMMEM, &indexBuffer) != D3D_OK)
      indexBuffer = nullptr;
    bytes = nullptr;
    if (indexBuffer && indexBuffer->Lock(0, 0, &bytes, 0) == D3D_OK && bytes) {
      auto* indices = reinterpret_cast<uint16_t*>(bytes);
      for (uint32_t k = 0; k < sprites; ++k)
        for (uint32_t c = 0; c < 6; ++c) indices[6 * k + c] = static_cast<uint16_t>(4 * k + spriteIndices[c]);
      indexBuffer->Unlock();
    } else if (indexBuffer) {
      indexBuffer->Release();
      indexBuffer = nullptr;
    }
  }
}

void ParticleSystem::restart(float seconds) {
  lastTime = seconds;
  birthAccumulator = 0.0f;
  chainFreeList();
}

void ParticleSystem::spawnOne(Random& random) {
  if (freeHead == EndOfList) return;
  const uint16_t i = freeHead;
  freeHead = links[i];
  links[i] = liveHead;
  liveHead = i;
  Particle& p = particles[i];
  for (int axis = 0; axis < 3; ++axis) p.position[axis] = between(random, posMin[axis], posMax[axis]);
  for (int axis = 0; axis < 3; ++axis) p.velocity[axis] = between(random, velMin[axis], velMax[axis]);
  for (int axis = 0; axis < 3; ++axis) p.acceleration[axis] = between(random, accMin[axis], accMax[axis]);
  p.life = between(random, lifeMin, lifeMax);
}

uint32_t ParticleSystem::liveCount() const {
  uint32_t count = 0;
  for (uint16_t i = liveHead; i != EndOfList; i = links[i]) ++count;
  return count;
}

void ParticleSystem::draw(SceneDraw& pass) {
  DeviceLayer& layer = pass.layer;
  const float now = static_cast<float>(pass.demoTime * 0.001);
  layer.selectTransformStack(0);
  const D3DMATRIX m = layer.topTransform();
  // A full stack cannot take the identity without losing the caller's matrix: then nothing is drawn.
  const bool pushed = layer.stackDepth(0) < DeviceLayer::StackDepth - 1;
  if (pushed) {
    layer.pushTransform();
    layer.topTransform() = DeviceLayer::identity;
    layer.applyTransform();
  }
  // A clock that went back (the music restarted) gives a step of 0: a negative one would lengthen
  // every life and hold births back by as much.
  float dt = now - lastTime;
  if (!(dt > 0.0f)) dt = 0.0f;
  lastTime = now;

  uint8_t* bytes = nullptr;
  const bool locked = pushed && image && vertexBuffer && vertexBuffer->Lock(0, 0, &bytes, 0) == D3D_OK;
  VertexColorTex* out = locked && bytes ? reinterpret_cast<VertexColorTex*>(bytes) : nullptr;
  const uint32_t sprites = simulate(dt, m, out);
  if (locked) vertexBuffer->Unlock();
  if (out && sprites > 0 && indexBuffer) drawSprites(layer, sprites);
  giveBirth(dt, pass.random);
  if (pushed) layer.popTransform();
}

uint32_t ParticleSystem::simulate(float dt, const D3DMATRIX& m, VertexColorTex* out) {
  const float hw = out ? image->width * 0.5f : 0.0f;
  const float hh = out ? image->height * 0.5f : 0.0f;
  const uint32_t colour = out ? image->colour : 0u;
  uint32_t sprites = 0;
  uint16_t* link = &liveHead;
  while (*link != EndOfList) {
    const uint16_t i = *link;
    Particle& p = particles[i];
    p.life -= dt;
    if (!(p.life > 0.0f)) {
      // Unlinked from the live list, onto the front of the free list.
      *link = links[i];
      links[i] = freeHead;
      freeHead = i;
      continue;
    }
    link = &links[i];
    // The position moves with the velocity from before this frame's acceleration.
    for (int axis = 0; axis < 3; ++axis) {
      p.position[axis] += dt * p.velocity[axis];
      p.velocity[axis] += dt * p.acceleration[axis];
    }
    if (!out) continue;
    const float x = p.position[0], y = p.position[1], z = p.position[2];
    const float tx = x * m.m[0] + y * m.m[4] + z * m.m[8] + m.m[12];
    const float ty = x * m.m[1] + y * m.m[5] + z * m.m[9] + m.m[13];
    const float tz = x * m.m[2] + y * m.m[6] + z * m.m[10] + m.m[14];
    // Only position and colour: the texture coordinates were written at creation.
    VertexColorTex* v = out + 4 * sprites;
    v[0].x = tx - hw, v[0].y = ty - hh, v[0].z = tz, v[0].diffuse = colour;
    v[1].x = tx - hw, v[1].y = ty + hh, v[1].z = tz, v[1].diffuse = colour;
    v[2].x = tx + hw, v[2].y = ty - hh, v[2].z = tz, v[2].diffuse = colour;
    v[3].x = tx + hw, v[3].y = ty + hh, v[3].z = tz, v[3].diffuse = colour;
    ++sprites;
  }
  return sprites;
}

void ParticleSystem::drawSprites(DeviceLayer& layer, uint32_t sprites) {
  RenderDevice& device = *layer.device();
  device.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  device.SetRenderState(D3DRS_LIGHTING, 0);
  device.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device.SetRenderState(D3DRS_ZWRITEENABLE, 1);
  device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device.SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  layer.bindTexture(image->ownTexture);
  device.SetStreamSource(0, vertexBuffer, sizeof(VertexColorTex));
  for (uint32_t first = 0; first < sprites; first += SpritesPerBatch) {
    const uint32_t batch = std::min(SpritesPerBatch, sprites - first);
    device.SetIndices(indexBuffer, 4 * first);
    device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4 * batch, 0, 2 * batch);
  }
  device.SetVertexShader(FVF_XYZ_NORMAL_TEX1);
  device.SetRenderState(D3DRS_LIGHTING, 1);
  device.SetRenderState(D3DRS_ZWRITEENABLE, 1);
  device.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  device.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  // The meshes a scene draws after a particle node rely on the depth test its draw switched on.
  device.SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
}

void ParticleSystem::giveBirth(float dt, Random& random) {
  birthAccumulator += dt;
  // When the pool runs dry the accumulator keeps what it has gathered.
  while (birthAccumulator >= birthInterval && freeHead != EndOfList) {
    spawnOne(random);
    birthAccumulator -= birthInterval;
  }
}

std::unique_ptr<ParticleSystem> createParticleSystem(DeviceLayer& layer, Image* image, uint32_t capacity) {
  if (!image || capacity == 0) return nullptr;
  std::unique_ptr<ParticleSystem> system(new (std::nothrow) ParticleSystem(image, capacity));
  if (system && layer.device()) system->createBuffers(*layer.device());
  return system;
}

void drawInCameraSpace(ParticleSystem& system, SceneDraw& pass) {
  DeviceLayer& layer = pass.layer;
  layer.selectTransformStack(1);
  layer.pushTransform();
  layer.topTransform() = perspective(1.5707964f, 1.0f, 1.0f, 1000.0f);
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.pushTransform();
  layer.topTransform() = DeviceLayer::identity;
  layer.applyTransform();
  system.draw(pass);
  layer.selectTransformStack(1);
  layer.popTransform();
  layer.applyTransform();
  layer.selectTransformStack(0);
  layer.popTransform();
  layer.applyTransform();
}

bool attachToNode(ParticleSystem& system, Scene& scene, const char* objectName, float seconds) {
  if (!scene.attachToObject(objectName, system)) return false;
  const size_t length = strnlen(objectName, ParticleSystem::ObjectNameSize - 1);
  std::memcpy(system.name, objectName, length);
  system.name[length] = '\0';
  system.restart(seconds);
  return true;
}

}  // namespace demo
