#pragma once
// A point or direction in the show's left-handed, y-up space.

namespace demo {

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

}  // namespace demo
