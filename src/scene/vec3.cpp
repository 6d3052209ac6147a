#include "scene/vec3.h"

#include <algorithm>
#include <cfloat>

namespace demo {

Vec3 normalised(const Vec3& a, const Vec3& fallback) {
  const float len = length(a);
  // Squares stay normal floats for lengths in this range, so the plain division is exact to the
  // rounding of the usual formula.
  if (len >= 1e-18f && len <= 1e18f) return {a.x / len, a.y / len, a.z / len};
  const float largest = std::max({std::fabs(a.x), std::fabs(a.y), std::fabs(a.z)});
  if (!(largest > 0.0f) || largest > FLT_MAX) return fallback;  // zero, NaN or infinite
  const Vec3 scaled{a.x / largest, a.y / largest, a.z / largest};
  const float scaledLength = length(scaled);  // between 1 and the square root of 3
  return {scaled.x / scaledLength, scaled.y / scaledLength, scaled.z / scaledLength};
}

}  // namespace demo
