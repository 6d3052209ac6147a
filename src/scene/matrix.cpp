#include "scene/matrix.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace demo {

namespace {

// A determinant at most this fraction of the cube of the longest row is singular.
constexpr double SingularRatio = 1e-7;

}  // namespace

Matrix translation(const Vec3& offset) {
  Matrix m = identityMatrix();
  m(3, 0) = offset.x;
  m(3, 1) = offset.y;
  m(3, 2) = offset.z;
  return m;
}

Matrix scaling(const Vec3& factors) {
  Matrix m = identityMatrix();
  m(0, 0) = factors.x;
  m(1, 1) = factors.y;
  m(2, 2) = factors.z;
  return m;
}

Matrix rotationZ(float angle) {
  const float c = std::cos(angle);
  const float s = std::sin(angle);
  return {{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
}

Matrix quatToMatrix(const Quat& q) {
  const float w = q.w, x = q.x, y = q.y, z = q.z;
  return {{1 - 2 * y * y - 2 * z * z, 2 * x * y + 2 * w * z, 2 * x * z - 2 * w * y, 0,  //
           2 * x * y - 2 * w * z, 1 - 2 * x * x - 2 * z * z, 2 * y * z + 2 * w * x, 0,  //
           2 * x * z + 2 * w * y, 2 * y * z - 2 * w * x, 1 - 2 * x * x - 2 * y * y, 0,  //
           0, 0, 0, 1}};
}

void preTranslate(Matrix& m, const Vec3& offset) {
  for (int c = 0; c < 4; ++c) m(3, c) += offset.x * m(0, c) + offset.y * m(1, c) + offset.z * m(2, c);
}

void preScale(Matrix& m, const Vec3& factors) {
  const float f[3] = {factors.x, factors.y, factors.z};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) m(r, c) *= f[r];
}

float determinant3x3(const Matrix& m) {
  return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) - m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
         m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

bool affineInverse(const Matrix& m, Matrix& inverse) {
  inverse = identityMatrix();
  // Doubles: no float matrix's determinant, row lengths or inverse overflow or underflow in them.
  double a[3][3];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) a[r][c] = m(r, c);
  const double cof[3][3] = {
      {a[1][1] * a[2][2] - a[1][2] * a[2][1], a[1][2] * a[2][0] - a[1][0] * a[2][2],
       a[1][0] * a[2][1] - a[1][1] * a[2][0]},
      {a[0][2] * a[2][1] - a[0][1] * a[2][2], a[0][0] * a[2][2] - a[0][2] * a[2][0],
       a[0][1] * a[2][0] - a[0][0] * a[2][1]},
      {a[0][1] * a[1][2] - a[0][2] * a[1][1], a[0][2] * a[1][0] - a[0][0] * a[1][2],
       a[0][0] * a[1][1] - a[0][1] * a[1][0]},
  };
  const double det = a[0][0] * cof[0][0] + a[0][1] * cof[0][1] + a[0][2] * cof[0][2];
  double longest = 0.0;
  for (const auto& row : a) longest = std::max(longest, std::sqrt(row[0] * row[0] + row[1] * row[1] + row[2] * row[2]));
  if (!std::isfinite(det) || !(std::fabs(det) > SingularRatio * longest * longest * longest)) return false;

  // The 3 × 3 inverse is the transposed cofactor matrix over det; row 4 is −(m41, m42, m43) times it.
  double result[4][4] = {};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) result[r][c] = cof[c][r] / det;
  for (int c = 0; c < 3; ++c)
    result[3][c] = -(m(3, 0) * result[0][c] + m(3, 1) * result[1][c] + m(3, 2) * result[2][c]);
  result[3][3] = 1.0;
  for (const auto& row : result)
    for (double v : row)
      if (!(std::fabs(v) <= FLT_MAX)) return false;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) inverse(r, c) = static_cast<float>(result[r][c]);
  return true;
}

Vec3 transformPoint(const Vec3& p, const Matrix& m) {
  return {p.x * m(0, 0) + p.y * m(1, 0) + p.z * m(2, 0) + m(3, 0),
          p.x * m(0, 1) + p.y * m(1, 1) + p.z * m(2, 1) + m(3, 1),
          p.x * m(0, 2) + p.y * m(1, 2) + p.z * m(2, 2) + m(3, 2)};
}

}  // namespace demo
