#include "fx/tunnel_rows.h"

#include <cfloat>
#include <cmath>

namespace demo {

namespace {

constexpr float Pi = 3.14159265f;
constexpr float HalfPi = 1.57079633f;
constexpr float QuarterPi = 0.785398163f;
constexpr float TanEighthPi = 0.414213562f;

}  // namespace

float tunnelAtan2(float y, float x) {
  const float ax = std::fabs(x), ay = std::fabs(y);
  const bool steep = ay > ax;
  const float num = steep ? ax : ay, den = steep ? ay : ax;
  const float r = den > 0.0f ? num / den : 0.0f;  // (0, 0) gives 0, as atan2 does
  const bool upper = r > TanEighthPi;
  const float z0 = upper ? (r - 1.0f) / (r + 1.0f) : r;
  const float z = z0 * z0;
  const float base = upper ? QuarterPi : 0.0f;
  float angle =
      base + ((((8.05374449538e-2f * z - 1.38776856032e-1f) * z + 1.99777106478e-1f) * z - 3.33329491539e-1f) * z * z0 +
              z0);
  if (steep) angle = HalfPi - angle;
  if (std::signbit(x)) angle = Pi - angle;
  return std::signbit(y) ? -angle : angle;
}

void castRowScalar(const TunnelRow& row, GridVertex* vertices, int32_t first, int32_t last) {
  const Vec3 &a = row.a, &b = row.b, &c = row.c, &eye = row.eye;
  for (int32_t j = first; j < last; ++j) {
    GridVertex& vertex = vertices[j];
    const float fa = static_cast<float>(j) * row.colStep - 1.0f;
    const float dx = fa * a.x + row.fb * b.x + c.x;
    const float dy = fa * a.y + row.fb * b.y + c.y;
    const float dz = fa * a.z + row.fb * b.z + c.z;
    const float p = 2.0f * (dx * eye.x + dy * eye.y);
    const float q = dx * dx + dy * dy;
    const float disc = p * p - q * row.k;
    // A miss keeps its texture coordinates. A ray along the axis (q = 0) never meets the tube.
    if (!(q > 0.0f) || !(disc >= 0.0f && disc <= FLT_MAX)) {
      vertex.colour = 0x00000000u;
      continue;
    }
    const float h = 0.5f / q;
    const float s = std::sqrt(disc);
    // The nearer intersection in front of the eye, else the farther one; with disc = 0 both are -p·h.
    float t = (-p - s) * h;
    if (t < 0.0f) t = (s - p) * h;
    const float hx = eye.x + t * dx, hy = eye.y + t * dy, hz = eye.z + t * dz;
    if (!(std::fabs(hx) <= FLT_MAX && std::fabs(hy) <= FLT_MAX && std::fabs(hz) <= FLT_MAX)) {
      vertex.colour = 0x00000000u;
      continue;
    }
    vertex.colour = 0xFFFFFFFFu;
    vertex.u = hz * TunnelUPerUnit;
    vertex.v = tunnelAtan2(hy, hx) * TunnelVPerRadian;
  }
}

void castRow(const TunnelRow& row, GridVertex* vertices, int32_t count) {
  int32_t done = 0;
#if defined(__SSE2__)
  castRowSse2(row, vertices, 0, count / 4);
  done = count / 4 * 4;
#endif
  castRowScalar(row, vertices, done, count);
}

}  // namespace demo
