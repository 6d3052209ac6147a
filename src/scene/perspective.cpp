#include "scene/perspective.h"

#include <cmath>

namespace demo {

namespace {

// A camera the formula has no projection for (a field of view whose sine is 0, near equal to far)
// gets 0 in those elements instead of an infinity or NaN: it shows nothing rather than poison the
// device's transforms.
float finiteOrZero(float v) { return std::isfinite(v) ? v : 0.0f; }

}  // namespace

D3DMATRIX perspective(float fov, float ratio, float nearPlane, float farPlane) {
  const float cot = std::cos(fov * 0.5f) / std::sin(fov * 0.5f);
  D3DMATRIX m{};
  m(0, 0) = finiteOrZero(cot * ratio);
  m(1, 1) = finiteOrZero(cot);
  m(2, 2) = finiteOrZero(farPlane / (farPlane - nearPlane));
  m(2, 3) = 1.0f;
  m(3, 2) = finiteOrZero(-nearPlane * farPlane / (farPlane - nearPlane));
  return m;
}

}  // namespace demo
