#include "scene/quat.h"

#include <cmath>

#include "scene/vec3.h"

namespace demo {

namespace {

// A quarter turn of the interpolation angle, for the perpendicular branch of slerp.
constexpr float HalfPi = 1.5707964f;
// How close to 1 (or -1) the dot product of two rotations must come to count as equal (opposite).
constexpr float SlerpEpsilon = 1e-7f;
constexpr float MinAxisLength = 1e-6f;

}  // namespace

Quat operator*(const Quat& q, const Quat& r) {
  return {q.w * r.w - q.x * r.x - q.y * r.y - q.z * r.z, q.w * r.x + q.x * r.w + q.y * r.z - q.z * r.y,
          q.w * r.y - q.x * r.z + q.y * r.w + q.z * r.x, q.w * r.z + q.x * r.y - q.y * r.x + q.z * r.w};
}

Quat normalised(const Quat& q) {
  // In doubles, so that no finite quaternion's squared length overflows or underflows.
  const double len = std::sqrt(static_cast<double>(q.w) * q.w + static_cast<double>(q.x) * q.x +
                               static_cast<double>(q.y) * q.y + static_cast<double>(q.z) * q.z);
  if (!(len > 0.0) || !std::isfinite(len)) return {};
  return {static_cast<float>(q.w / len), static_cast<float>(q.x / len), static_cast<float>(q.y / len),
          static_cast<float>(q.z / len)};
}

Quat axisAngle(const Vec3& axis, float angle) {
  const float d = length(axis);
  if (!(d >= MinAxisLength)) return {};  // also a NaN length
  const float c = std::cos(angle * 0.5f);
  const float s = std::sin(angle * 0.5f);
  if (d > 1e18f) {
    // The float length overflowed (or nearly): take the direction without squaring the axis.
    const Vec3 unit = normalised(axis, Vec3{});
    return {c, unit.x * s, unit.y * s, unit.z * s};
  }
  return {c, axis.x * s / d, axis.y * s / d, axis.z * s / d};
}

Quat slerp(const Quat& q0, const Quat& q1, float t) {
  const float c = dot(q0, q1);
  float s0;
  float s1;
  Quat to = q1;
  if (1.0f + c > SlerpEpsilon) {
    if (1.0f - c > SlerpEpsilon) {
      // Both tests keep c at least 6e-8 inside (-1, 1), so acos is defined and sin ω is at
      // least about 5e-4, whatever rounding made c of two unit quaternions.
      const float omega = std::acos(c);
      const float sinOmega = std::sin(omega);
      s0 = std::sin((1.0f - t) * omega) / sinOmega;
      s1 = std::sin(t * omega) / sinOmega;
    } else {
      s0 = 1.0f - t;
      s1 = t;
    }
  } else {
    to = {-q0.x, q0.w, -q0.z, q0.y};
    s0 = std::sin((1.0f - t) * HalfPi);
    s1 = std::sin(t * HalfPi);
  }
  return {s0 * q0.w + s1 * to.w, s0 * q0.x + s1 * to.x, s0 * q0.y + s1 * to.y, s0 * q0.z + s1 * to.z};
}

}  // namespace demo
