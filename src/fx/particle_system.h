#pragma once
// A named pool of camera-facing sprites born in a box, flying with per-particle velocity and
// acceleration, dying after a per-particle life span. Made by makeparticles, shaped by partpos,
// partspd, partacc and partlife, shown by showparticles or attached to a scene node by partobject.

#include <cstdint>
#include <memory>

#include "fx/image.h"
#include "fx/random.h"
#include "gfx/device_layer.h"

namespace demo {

class Scene;

class ParticleSystem {
 public:
  static constexpr uint32_t MaxCapacity = 65535;  // indices are 16-bit, 0xFFFF ends a list

  ParticleSystem(Image* image, uint32_t capacity);
  virtual ~ParticleSystem();
  ParticleSystem(const ParticleSystem&) = delete;
  ParticleSystem& operator=(const ParticleSystem&) = delete;

  // Moves, draws and gives birth for the frame at demoTime, with the current world matrix.
  virtual void draw(DeviceLayer& layer, Random& random, uint32_t demoTime);
  // Kills every particle and starts counting births from the given demo time in seconds.
  virtual void restart(float seconds);

  Image* image;       // sprite texture, colour and size; not owned
  uint32_t capacity;  // clamped to MaxCapacity
  float posMin[3] = {-1.0f, -1.0f, -1.0f}, posMax[3] = {1.0f, 1.0f, 1.0f};
  float velMin[3] = {-1.0f, -1.0f, -1.0f}, velMax[3] = {1.0f, 1.0f, 1.0f};
  float accMin[3] = {-1.0f, -1.0f, -1.0f}, accMax[3] = {1.0f, 1.0f, 1.0f};
  float lifeMin = 1.0f;
  float lifeMax = 2.0f;
  float birthInterval;  // seconds between births; capacity x 0.5 until partlife sets it
  float lastTime = 0.0f;
  float birthAccumulator = 0.0f;
};

// makeparticles: a system over the image with room for capacity particles, its buffers created on
// the layer's device. Null when it cannot be made.
std::unique_ptr<ParticleSystem> createParticleSystem(DeviceLayer& layer, Image* image, uint32_t capacity);

// partobject: hangs the system on the scene's object node of that name (case-insensitive) and
// restarts it at the given time. False when the node is missing or not an object node.
bool attachToNode(ParticleSystem& system, Scene& scene, const char* objectName, float seconds);

}  // namespace demo
