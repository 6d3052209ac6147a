#pragma once
// A point or direction in the show's left-handed, y-up space, and the vector arithmetic the scene
// code shares. The operations are inline: track evaluation runs them for every node every frame.

#include <cmath>

namespace demo {

struct Vec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(const Vec3& a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(float s, const Vec3& a) { return {s * a.x, s * a.y, s * a.z}; }
inline Vec3 operator*(const Vec3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline bool operator==(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

inline float dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// The same formula in either handedness: a × b = (ay bz − az by, az bx − ax bz, ax by − ay bx).
inline Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(const Vec3& a) { return std::sqrt(dot(a, a)); }

// a divided by its length. A vector whose length underflows or overflows in floats is scaled by
// its largest component first, so any finite non-zero vector gets a unit direction; the zero
// vector (and one with a NaN or infinite component) gives the fallback instead of NaN.
Vec3 normalised(const Vec3& a, const Vec3& fallback);

}  // namespace demo
