#pragma once
// The perspective projection of the show's cameras, in Direct3D's layout.

#include "platform/render_types.h"

namespace demo {

// All elements 0 except m11 = cot(fov / 2) x ratio, m22 = cot(fov / 2), m33 = far / (far - near),
// m34 = 1, m43 = -near x far / (far - near). ratio is height / width, so fov is vertical. An element
// the formula leaves infinite or undefined (fov with a zero sine, near equal to far) is 0.
D3DMATRIX perspective(float fov, float ratio, float nearPlane, float farPlane);

}  // namespace demo
