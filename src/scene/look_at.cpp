#include "scene/look_at.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace demo {

namespace {

constexpr Vec3 Forward{0.0f, 0.0f, 1.0f};
// sin of the smallest angle between the line of sight and up that still defines a right vector.
constexpr float MinSightUpSine = 1e-6f;

// The world axis whose direction is furthest from d's, z first, then x, then y on equal terms.
Vec3 axisAcross(const Vec3& d) {
  const float ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
  if (az <= ax && az <= ay) return {0.0f, 0.0f, 1.0f};
  if (ax <= ay) return {1.0f, 0.0f, 0.0f};
  return {0.0f, 1.0f, 0.0f};
}

}  // namespace

Matrix lookAt(const Vec3& eye, const Vec3& target, const Vec3& up, float roll) {
  Vec3 d = target - eye;
  const float distance = length(d);
  if (!(distance >= 1e-12f && distance <= 1e12f)) {
    // The formulas below only depend on d's direction; outside this range its squares and
    // cross products could leave the float range, so go on with the unit direction.
    d = normalised(d, Forward);
  }
  const Vec3 f = normalised(d, Forward);
  Vec3 upUsed = normalised(up, Vec3{});
  Vec3 side = cross(upUsed, d);
  if (!(length(side) > MinSightUpSine * length(d))) {
    upUsed = axisAcross(d);
    side = cross(upUsed, d);
  }
  const Vec3 r = normalised(side, Vec3{1.0f, 0.0f, 0.0f});
  const Vec3 u = normalised(cross(d, side), Vec3{0.0f, 1.0f, 0.0f});
  // An eye beyond any scene's range may carry the translation past the float range; it is held at
  // the largest float so that the roll's zeros never meet an infinity.
  const auto offset = [&eye](const Vec3& axis) { return std::clamp(-dot(eye, axis), -FLT_MAX, FLT_MAX); };
  const Matrix view = {{r.x, u.x, f.x, 0.0f,  //
                        r.y, u.y, f.y, 0.0f,  //
                        r.z, u.z, f.z, 0.0f,  //
                        offset(r), offset(u), offset(f), 1.0f}};
  return multiply(view, rotationZ(-roll));
}

}  // namespace demo
