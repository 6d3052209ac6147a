#pragma once
// Keyframe records as a 3DS file gives them, after the reader's axis exchange: what the reader
// fills and the track builders take. Frames are the low 16 bits of the file's 32-bit field.

#include <cstdint>

#include "scene/vec3.h"

namespace demo {

struct VectorKey {
  uint32_t frame = 0;
  float tension = 0.0f;
  float continuity = 0.0f;
  float bias = 0.0f;
  Vec3 value;
};

struct ScalarKey {
  uint32_t frame = 0;
  float tension = 0.0f;
  float continuity = 0.0f;
  float bias = 0.0f;
  float value = 0.0f;
};

// A rotation relative to the previous key: angle in radians about the axis.
struct RotationKey {
  uint32_t frame = 0;
  float angle = 0.0f;
  Vec3 axis;
};

static_assert(sizeof(VectorKey) == 28 && sizeof(ScalarKey) == 20 && sizeof(RotationKey) == 20,
              "the key records keep the file's key sizes");

}  // namespace demo
