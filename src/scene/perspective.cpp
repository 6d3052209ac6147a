#include "scene/perspective.h"

#include <cmath>

namespace demo {

D3DMATRIX perspective(float fov, float ratio, float nearPlane, float farPlane) {
  const float cot = std::cos(fov * 0.5f) / std::sin(fov * 0.5f);
  D3DMATRIX m{};
  m(0, 0) = cot * ratio;
  m(1, 1) = cot;
  m(2, 2) = farPlane / (farPlane - nearPlane);
  m(2, 3) = 1.0f;
  m(3, 2) = -nearPlane * farPlane / (farPlane - nearPlane);
  return m;
}

}  // namespace demo
