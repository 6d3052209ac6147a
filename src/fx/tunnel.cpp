#include "fx/tunnel.h"

#include <cmath>

#include "fx/tunnel_rows.h"
#include "scene/matrix.h"

namespace demo {

namespace {

// Row `row` of n without its fourth element, scaled to length 1. False for a zero or non-finite row.
bool unitRow(const D3DMATRIX& n, int row, Vec3& out) {
  const Vec3 r{n(row, 0), n(row, 1), n(row, 2)};
  const float length = std::sqrt(r.x * r.x + r.y * r.y + r.z * r.z);
  if (!(length > 0.0f) || !std::isfinite(length)) return false;
  const float scale = 1.0f / length;
  out = {r.x * scale, r.y * scale, r.z * scale};
  return true;
}

}  // namespace

bool tunnelRays(const Vec3& eye, const Vec3& target, float roll, TunnelRays& rays) {
  Vec3 d = target - eye;
  const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
  if (!(length > 0.0f) || !std::isfinite(length)) return false;
  d = d * (1.0f / length);
  // R = (0, 1, 0) × D and U = D × R, neither normalised: the rows of the product are.
  const Vec3 r{d.z, 0.0f, -d.x};
  const Vec3 u = cross(d, r);
  const D3DMATRIX m = {{r.x, u.x, d.x, 0, r.y, u.y, d.y, 0, r.z, u.z, d.z, 0, 0, 0, 0, 1}};
  const D3DMATRIX n = multiply(rotationZ(roll), m);
  // A line of sight along the y axis leaves R and U zero, and with them the third row.
  return unitRow(n, 0, rays.a) && unitRow(n, 1, rays.b) && unitRow(n, 2, rays.c);
}

bool castTunnel(GridImage& grid, const Vec3& eye, const Vec3& target, float roll, float distance) {
  if (grid.cols < 1 || grid.rows < 1 || grid.vertices.empty()) return false;
  TunnelRays rays;
  if (!tunnelRays(eye, target, roll, rays)) return false;
  TunnelRow row{rays.a, rays.b, rays.c, 0.0f, 1.0f / static_cast<float>(grid.cols), eye,
                4.0f * (eye.x * eye.x + eye.y * eye.y) - distance * distance};
  const float rowStep = 1.0f / static_cast<float>(grid.rows);
  const int32_t columns = grid.cols + 1;
  for (int32_t i = 0; i <= grid.rows; ++i) {
    // The fan's upper-left quadrant: a from -1 to 0 across, b from 1 to 0 down.
    row.fb = 1.0f - static_cast<float>(i) * rowStep;
    castRow(row, &grid.vertices[static_cast<size_t>(i) * columns], columns);
  }
  return true;
}

int drawTunnel(DeviceLayer& layer, GridImage& grid, const Vec3& eye, const Vec3& target, float /*fov*/, float roll,
               float distance) {
  if (!castTunnel(grid, eye, target, roll, distance)) return 1;
  return grid.draw(layer);
}

}  // namespace demo
