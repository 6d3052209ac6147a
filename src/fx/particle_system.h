#pragma once
// A named pool of camera-facing sprites born in a box, flying with per-particle velocity and
// acceleration, dying after a per-particle life span. Made by makeparticles, shaped by partpos,
// partspd, partacc and partlife, shown by showparticles or attached to a scene node by partobject,
// after which the scene draws it with the node's transform, so the particles follow the node.
//
// Live and free particles share one array of 16-bit next links: every index is on exactly one of
// the two lists, and both end with EndOfList. The vertex and index buffers are made once, at their
// full size, and never resized; texture coordinates are written once at creation.

#include <cstdint>
#include <memory>
#include <vector>

#include "fx/image.h"
#include "fx/random.h"
#include "gfx/device_layer.h"
#include "scene/node_attachment.h"

namespace demo {

class Scene;

struct Particle {
  float position[3];
  float velocity[3];      // units per second
  float acceleration[3];  // units per second squared
  float life;             // seconds left
};
static_assert(sizeof(Particle) == 40, "a particle is ten floats");

class ParticleSystem : public NodeAttachment {
 public:
  static constexpr uint32_t MaxCapacity = 65535;  // indices are 16-bit, 0xFFFF ends a list
  static constexpr uint16_t EndOfList = 0xFFFF;
  // 16-bit indices reach 65536 vertices: four corners each for this many sprites. More live sprites
  // are drawn in batches of this size, each batch's vertices counted from its own base vertex.
  static constexpr uint32_t SpritesPerBatch = 16384;
  static constexpr uint32_t ObjectNameSize = 32;

  // The lists with every particle free and the default boxes and lives; no device buffers yet
  // (createParticleSystem makes them), so a system made this way simulates but draws nothing.
  ParticleSystem(Image* image, uint32_t capacity);
  ~ParticleSystem() override;

  // Makes the vertex buffer (capacity x 4 vertices, texture coordinates filled in) and the index
  // buffer (two triangles per sprite, one batch's worth). A buffer the device refuses stays null,
  // and the system then draws nothing. Each buffer is made only once.
  void createBuffers(RenderDevice& device);

  // Moves, draws and gives birth for the frame at pass.demoTime, with the current world matrix
  // (the node's, or the identity of showparticles). Leaves the world stack as it found it but does
  // not re-apply it.
  void draw(SceneDraw& pass) override;
  // Kills every particle and starts counting births from the given demo time in seconds.
  virtual void restart(float seconds);
  // Gives birth to one particle from the boxes (ten values from the shared sequence); nothing when
  // the pool is exhausted.
  virtual void spawnOne(Random& random);

  uint32_t liveCount() const;

  char name[ObjectNameSize] = {};  // the object node's name after partobject, truncated to fit
  Image* image;                    // sprite texture, colour and size; not owned
  uint32_t capacity;               // clamped to MaxCapacity
  float posMin[3] = {-1.0f, -1.0f, -1.0f}, posMax[3] = {1.0f, 1.0f, 1.0f};
  float velMin[3] = {-1.0f, -1.0f, -1.0f}, velMax[3] = {1.0f, 1.0f, 1.0f};
  float accMin[3] = {-1.0f, -1.0f, -1.0f}, accMax[3] = {1.0f, 1.0f, 1.0f};
  float lifeMin = 1.0f;
  float lifeMax = 2.0f;
  float birthInterval;  // seconds between births; capacity x 0.5 until partlife sets it
  float lastTime = 0.0f;
  float birthAccumulator = 0.0f;
  std::vector<Particle> particles;
  std::vector<uint16_t> links;  // next index on whichever list the particle is on
  uint16_t freeHead = EndOfList;
  uint16_t liveHead = EndOfList;
  VertexBuffer* vertexBuffer = nullptr;  // owned, format 0x142, system memory
  IndexBuffer* indexBuffer = nullptr;    // owned, 16-bit

 private:
  void chainFreeList();
  // Moves the live particles by dt, unlinks the dead and writes four corners per survivor through
  // M into out (skipped when out is null). The number of sprites written.
  uint32_t simulate(float dt, const D3DMATRIX& m, VertexColorTex* out);
  void drawSprites(DeviceLayer& layer, uint32_t sprites);
  void giveBirth(float dt, Random& random);
};

// makeparticles: a system over the image with room for capacity particles (clamped to 65535), its
// buffers made on the layer's device. Null when no system can be made: no image, or a capacity of 0.
std::unique_ptr<ParticleSystem> createParticleSystem(DeviceLayer& layer, Image* image, uint32_t capacity);

// showparticles' drawing: the system in camera space, under a 90-degree projection (aspect 1, near
// plane 1, far plane 1000) and the identity world, both pushed before the draw and popped and
// re-applied after it.
void drawInCameraSpace(ParticleSystem& system, SceneDraw& pass);

// partobject: hangs the system on the scene's object node of that name (compared without regard to
// case), keeps the name (truncated to fit) and restarts the system at the given time. False,
// changing nothing, when the node is missing or not an object node.
bool attachToNode(ParticleSystem& system, Scene& scene, const char* objectName, float seconds);

}  // namespace demo
