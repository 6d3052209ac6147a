#pragma once
// The scene's matrix operations on the Direct3D matrix: row-major, points are row vectors
// multiplied on the left (p' = p × M), translation in row 4. A × B applies A first, then B.

#include "platform/matrix.h"
#include "scene/quat.h"
#include "scene/vec3.h"

namespace demo {

using Matrix = D3DMATRIX;

Matrix translation(const Vec3& offset);
Matrix scaling(const Vec3& factors);
// Rows (cos a, sin a, 0, 0), (−sin a, cos a, 0, 0), (0, 0, 1, 0), (0, 0, 0, 1).
Matrix rotationZ(float angle);
// The rotation of a unit quaternion as a matrix for row vectors.
Matrix quatToMatrix(const Quat& q);

// m = T(offset) × m: row 4 += offset.x × row 1 + offset.y × row 2 + offset.z × row 3.
void preTranslate(Matrix& m, const Vec3& offset);
// m = S(factors) × m: rows 1 to 3 multiplied by the factors' x, y and z.
void preScale(Matrix& m, const Vec3& factors);

// Determinant of the upper 3 × 3 part.
float determinant3x3(const Matrix& m);

// The inverse of an affine matrix (fourth column taken as (0, 0, 0, 1)). The upper 3 × 3 counts as
// singular when |determinant| ≤ 1e-7 × L³, L being the length of its longest row: the determinant
// measured against the matrix's own scale, so a mesh scaled down uniformly (determinants near 1e-5
// are common) inverts like one of unit size, while a matrix of unit scale keeps the absolute test
// |determinant| ≤ 1e-7. A singular matrix, or one whose inverse floats cannot hold, gives false and
// the identity in inverse.
bool affineInverse(const Matrix& m, Matrix& inverse);

// (p.x, p.y, p.z, 1) × m, the fourth column ignored.
Vec3 transformPoint(const Vec3& p, const Matrix& m);

}  // namespace demo
