// Placeholder until the particle systems land: none can be made, so the particle commands act on
// nothing; a system built by hand (tests) keeps its settings but draws nothing.
#include "fx/particle_system.h"

namespace demo {

ParticleSystem::ParticleSystem(Image* image, uint32_t capacity)
    : image(image),
      capacity(capacity > MaxCapacity ? MaxCapacity : capacity),
      birthInterval(static_cast<float>(this->capacity) * 0.5f) {}

ParticleSystem::~ParticleSystem() = default;

void ParticleSystem::draw(DeviceLayer&, Random&, uint32_t) {}

void ParticleSystem::restart(float seconds) {
  lastTime = seconds;
  birthAccumulator = 0.0f;
}

std::unique_ptr<ParticleSystem> createParticleSystem(DeviceLayer&, Image*, uint32_t) { return nullptr; }

bool attachToNode(ParticleSystem&, Scene&, const char*, float) { return false; }

}  // namespace demo
