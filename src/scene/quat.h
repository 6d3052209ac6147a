#pragma once
// Rotations as unit quaternions (w is the scalar part) and their spherical interpolation.

namespace demo {

struct Vec3;

struct Quat {
  float w = 1.0f;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// Hamilton product q · r: applying the result rotates by r, then by q.
Quat operator*(const Quat& q, const Quat& r);
inline float dot(const Quat& a, const Quat& b) { return a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z; }

// q scaled to unit length; the identity when q has no length (or is not finite), so a product of
// rotations that drifted or degenerated stays a rotation.
Quat normalised(const Quat& q);

// The rotation by angle (radians) about axis, of any length. An axis shorter than 1e-6 names no
// direction: the identity.
Quat axisAngle(const Vec3& axis, float angle);

// Spherical interpolation from q0 (t = 0) to q1 (t = 1). Deliberately without the usual sign flip:
// keys whose dot product is negative are interpolated along the longer arc, as the show's scenes
// were made to play. Nearly opposite rotations turn through a quaternion perpendicular to q0.
Quat slerp(const Quat& q0, const Quat& q1, float t);

}  // namespace demo
