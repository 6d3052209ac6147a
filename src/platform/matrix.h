#pragma once
// The two matrix operations that both the scene code and the OpenGL backend compose Direct3D
// matrices with. They live beside the matrix type, not in a backend, so that the scene never
// depends on a backend and the program holds one definition of each.

#include "platform/render_types.h"

namespace demo {

D3DMATRIX identityMatrix();
// Row-vector product a × b, as Direct3D composes transforms: a point is carried by a, then by b.
D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b);

}  // namespace demo
