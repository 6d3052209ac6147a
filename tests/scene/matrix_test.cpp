// The scene's matrices: composition order, rotations, the in-place node transforms, and the
// affine inverse with its singularity test measured against the matrix's own scale.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/matrix.h"

namespace demo {
namespace {

constexpr float Pi = 3.14159265f;

void expectMatrixNear(const Matrix& a, const Matrix& b, float tolerance) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a.m[i], b.m[i], tolerance) << "element " << i / 4 + 1 << i % 4 + 1;
}

void expectVecNear(const Vec3& a, const Vec3& b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

// Scaled, rotated about a slanted axis, translated: a node's full transform.
Matrix sampleTransform(const Vec3& scale) {
  return multiply(multiply(scaling(scale), quatToMatrix(axisAngle({1, 2, -0.5f}, 0.8f))), translation({5, -7, 11}));
}

TEST(Matrix, AProductAppliesTheLeftMatrixFirst) {
  const Matrix m = multiply(translation({1, 0, 0}), scaling({2, 3, 4}));
  expectVecNear(transformPoint({0, 0, 0}, m), {2, 0, 0});
  expectVecNear(transformPoint({1, 1, 1}, m), {4, 3, 4});
  expectVecNear(transformPoint({1, 1, 1}, multiply(scaling({2, 3, 4}), translation({1, 0, 0}))), {3, 3, 4});
}

TEST(Matrix, QuatToMatrixMatchesTheRotationAboutZ) {
  for (float angle : {0.0f, 0.3f, Pi / 2, 2.5f, -1.0f}) {
    expectMatrixNear(quatToMatrix(axisAngle({0, 0, 1}, angle)), rotationZ(angle), 1e-6f);
  }
  // A quarter turn about z carries +x to +y (rows (cos a, sin a), (-sin a, cos a)).
  expectVecNear(transformPoint({1, 0, 0}, rotationZ(Pi / 2)), {0, 1, 0});
  // A quarter turn about y carries +x to -z and +z to +x.
  const Matrix y = quatToMatrix(axisAngle({0, 1, 0}, Pi / 2));
  expectVecNear(transformPoint({1, 0, 0}, y), {0, 0, -1});
  expectVecNear(transformPoint({0, 0, 1}, y), {1, 0, 0});
  EXPECT_NEAR(determinant3x3(quatToMatrix(axisAngle({1, 2, 3}, 1.1f))), 1.0f, 1e-5f);
}

TEST(Matrix, InPlaceTranslateAndScaleMultiplyOnTheLeft) {
  const Matrix base = sampleTransform({1.5f, 0.5f, 2.0f});
  Matrix m = base;
  preTranslate(m, {3, -1, 2});
  expectMatrixNear(m, multiply(translation({3, -1, 2}), base), 1e-4f);
  m = base;
  preScale(m, {2, -3, 0.5f});
  expectMatrixNear(m, multiply(scaling({2, -3, 0.5f}), base), 1e-5f);
}

TEST(Matrix, DeterminantOfTheUpperThreeByThree) {
  EXPECT_FLOAT_EQ(determinant3x3(scaling({2, 3, 4})), 24.0f);
  EXPECT_FLOAT_EQ(determinant3x3(scaling({-1, 1, 1})), -1.0f) << "a mirror";
  EXPECT_FLOAT_EQ(determinant3x3(translation({9, 9, 9})), 1.0f) << "row 4 plays no part";
}

TEST(AffineInverse, TimesTheMatrixGivesTheIdentity) {
  const Matrix m = sampleTransform({2, 3, 0.5f});
  Matrix inverse;
  ASSERT_TRUE(affineInverse(m, inverse));
  expectMatrixNear(multiply(inverse, m), identityMatrix(), 1e-5f);
  expectMatrixNear(multiply(m, inverse), identityMatrix(), 1e-5f);
  EXPECT_EQ(inverse(0, 3), 0.0f);
  EXPECT_EQ(inverse(3, 3), 1.0f);
  const Vec3 p{0.25f, -4, 9};
  expectVecNear(transformPoint(transformPoint(p, m), inverse), p, 1e-4f);

  Matrix mirror;
  ASSERT_TRUE(affineInverse(multiply(scaling({-1, 1, 1}), m), mirror));
  EXPECT_LT(determinant3x3(mirror), 0.0f);
}

TEST(AffineInverse, SmallUniformlyScaledMatricesInvert) {
  // Determinant 2.7e-8, under the absolute 1e-7 but a perfectly good matrix at its own scale.
  const Matrix m = sampleTransform({0.003f, 0.003f, 0.003f});
  EXPECT_LT(std::fabs(determinant3x3(m)), 1e-7f);
  Matrix inverse;
  ASSERT_TRUE(affineInverse(m, inverse));
  expectMatrixNear(multiply(inverse, m), identityMatrix(), 1e-4f);
}

TEST(AffineInverse, NearlyFlatMatricesAreSingularAtAnyScale) {
  // Unit-length rows whose third lies 1e-8 out of the plane of the other two: determinant 1e-8.
  Matrix flat = identityMatrix();
  flat(2, 0) = 0.6f;
  flat(2, 1) = 0.8f;
  flat(2, 2) = 1e-8f;
  EXPECT_FLOAT_EQ(determinant3x3(flat), 1e-8f);
  Matrix inverse = translation({1, 2, 3});
  EXPECT_FALSE(affineInverse(flat, inverse));
  expectMatrixNear(inverse, identityMatrix(), 0.0f);

  // The same shape a thousand times larger has determinant 10, far above 1e-7, and is still flat.
  Matrix large = flat;
  preScale(large, {1000, 1000, 1000});
  EXPECT_GT(determinant3x3(large), 1.0f);
  EXPECT_FALSE(affineInverse(large, inverse));

  // At unit scale the test is the absolute one: a thin axis with determinant 1e-8 is singular too.
  EXPECT_FALSE(affineInverse(scaling({1, 1, 1e-8f}), inverse));
  EXPECT_TRUE(affineInverse(scaling({1, 1, 1e-6f}), inverse));
}

TEST(AffineInverse, DegenerateMatricesGiveTheIdentity) {
  Matrix zero{};
  Matrix inverse;
  EXPECT_FALSE(affineInverse(zero, inverse));
  expectMatrixNear(inverse, identityMatrix(), 0.0f);
  // Invertible in exact arithmetic, but the inverse's translation does not fit in a float.
  Matrix farAway = scaling({1e-20f, 1e-20f, 1e-20f});
  farAway(3, 0) = 1e30f;
  EXPECT_FALSE(affineInverse(farAway, inverse));
  expectMatrixNear(inverse, identityMatrix(), 0.0f);
}

}  // namespace
}  // namespace demo
