#pragma once
// The tunnel's inner loop: the rays of one vertex row of a grid image cast against the tube. A
// portable path and an SSE2 path four rays at a time; both give the same bits, since every value is
// computed by the same single-precision operations in the same order (and the arc tangent is our
// own, not the platform's, so Linux and Windows builds agree too).

#include <cstdint>

#include "fx/grid_image.h"
#include "scene/vec3.h"

namespace demo {

// What every ray of a row shares. The ray of column j is a(j)·A + b·B + C with a(j) = j·colStep − 1.
struct TunnelRow {
  Vec3 a, b, c;  // the camera's fan
  float fb;      // b of this row
  float colStep;
  Vec3 eye;
  float k;  // 4 (eye.x² + eye.y²) − distance²: the tube's equation with the eye's distance folded in
};

// Along the tube the picture repeats every 3000 units of z; around it, once per turn, with the seam
// on the negative x side.
constexpr float TunnelUPerUnit = 0.00033333333f;
constexpr float TunnelVPerRadian = 0.15915494f;

// atan2 (y, x) within a few units in the last place, the same on every platform: octants folded
// onto [0, 1], then a reduction at tan(π/8) and an odd polynomial.
float tunnelAtan2(float y, float x);

// Casts the rays of columns first ... last − 1 into vertices[first ...].
void castRowScalar(const TunnelRow& row, GridVertex* vertices, int32_t first, int32_t last);

#if defined(__SSE2__)
inline constexpr bool HaveSse2Tunnel = true;
// Columns first ... first + 4·groups − 1, four at a time.
void castRowSse2(const TunnelRow& row, GridVertex* vertices, int32_t first, int32_t groups);
#else
inline constexpr bool HaveSse2Tunnel = false;
#endif

// The whole row of columns 0 ... count − 1 on the fastest path there is.
void castRow(const TunnelRow& row, GridVertex* vertices, int32_t count);

}  // namespace demo
