// Camera matrices: the look-at basis, the roll about the line of sight, the cameras that have no
// view by the formula, and the projection's degenerate cases.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/look_at.h"
#include "scene/perspective.h"

namespace demo {
namespace {

constexpr float Pi = 3.14159265f;
const Vec3 Up{0, 1, 0};

void expectVecNear(const Vec3& a, const Vec3& b, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

bool allFinite(const Matrix& m) {
  for (float v : m.m)
    if (!std::isfinite(v)) return false;
  return true;
}

// The upper 3 x 3 of a view is a rotation: orthonormal rows, determinant 1.
void expectRotation(const Matrix& m) {
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      const float d = m(a, 0) * m(b, 0) + m(a, 1) * m(b, 1) + m(a, 2) * m(b, 2);
      EXPECT_NEAR(d, a == b ? 1.0f : 0.0f, 1e-5f) << a << b;
    }
  }
  EXPECT_NEAR(determinant3x3(m), 1.0f, 1e-5f);
}

TEST(LookAt, PutsTheTargetAheadWithUpAboveAndRightToTheRight) {
  const Matrix view = lookAt({1, 2, 3}, {1, 2, 13}, Up, 0.0f);
  expectVecNear(transformPoint({1, 2, 3}, view), {0, 0, 0});
  expectVecNear(transformPoint({1, 2, 13}, view), {0, 0, 10});
  expectVecNear(transformPoint({2, 2, 3}, view), {1, 0, 0});
  expectVecNear(transformPoint({1, 3, 3}, view), {0, 1, 0});
  EXPECT_EQ(view(0, 3), 0.0f);
  EXPECT_EQ(view(3, 3), 1.0f);
}

TEST(LookAt, AnyLineOfSightGivesARotationThatCarriesTheTargetOntoZ) {
  const Vec3 eye{3, 4, -5}, target{0, 1, 2};
  const Matrix view = lookAt(eye, target, Up, 0.0f);
  expectRotation(view);
  expectVecNear(transformPoint(target, view), {0, 0, length(target - eye)});
  // Up stays in the upper half of the picture: its view-space x is 0, its y positive.
  const Vec3 above = transformPoint(eye + Up, view);
  EXPECT_NEAR(above.x, 0.0f, 1e-5f);
  EXPECT_GT(above.y, 0.0f);
}

TEST(LookAt, RollTurnsTheViewAboutTheLineOfSight) {
  const Vec3 eye{0, 0, 0}, target{0, 0, 10};
  // Multiplied by Rz(-roll): at a quarter turn a point right of the line of sight goes to the
  // bottom of the picture and a point above it to the right, at the same depth.
  const Matrix rolled = lookAt(eye, target, Up, Pi / 2);
  expectVecNear(transformPoint({1, 0, 5}, rolled), {0, -1, 5});
  expectVecNear(transformPoint({0, 1, 5}, rolled), {1, 0, 5});
  expectVecNear(transformPoint(target, rolled), {0, 0, 10});
  expectRotation(rolled);
  // Any roll keeps the depth of every point and its distance from the line of sight.
  const Matrix plain = lookAt({1, 2, 3}, {4, -1, 7}, Up, 0.0f);
  const Matrix turned = lookAt({1, 2, 3}, {4, -1, 7}, Up, 0.7f);
  const Vec3 a = transformPoint({2, 5, 1}, plain), b = transformPoint({2, 5, 1}, turned);
  EXPECT_NEAR(a.z, b.z, 1e-4f);
  EXPECT_NEAR(std::hypot(a.x, a.y), std::hypot(b.x, b.y), 1e-4f);
  EXPECT_NEAR(std::remainder(std::atan2(a.y, a.x) - std::atan2(b.y, b.x), 2 * Pi), 0.7f, 1e-4f);
}

TEST(LookAt, AnEyeOnTheTargetLooksAlongPlusZ) {
  const Matrix view = lookAt({4, 5, 6}, {4, 5, 6}, Up, 0.3f);
  ASSERT_TRUE(allFinite(view));
  expectRotation(view);
  expectVecNear(transformPoint({4, 5, 7}, view), {0, 0, 1});
}

TEST(LookAt, ALineOfSightAlongUpTakesAnotherAxisAsUp) {
  const Matrix down = lookAt({0, 10, 0}, {0, 0, 0}, Up, 0.0f);
  ASSERT_TRUE(allFinite(down));
  expectRotation(down);
  expectVecNear(transformPoint({0, 0, 0}, down), {0, 0, 10});
  expectVecNear(transformPoint({1, 10, 0}, down), {1, 0, 0});  // +x to the right
  expectVecNear(transformPoint({0, 10, 1}, down), {0, 1, 0});  // +z at the top
  // The same view as the limit of a camera tilting down from the +z side.
  const Matrix nearlyDown = lookAt({0, 10, 0}, {0, 0, 0.001f}, Up, 0.0f);
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(down.m[i], nearlyDown.m[i], 1e-3f) << i;

  const Matrix up = lookAt({1, 1, 1}, {1, 5, 1}, Up, 0.5f);
  ASSERT_TRUE(allFinite(up));
  expectRotation(up);
  const Matrix noUp = lookAt({1, 1, 1}, {2, 3, 4}, {0, 0, 0}, 0.0f);
  ASSERT_TRUE(allFinite(noUp));
  expectRotation(noUp);
}

TEST(LookAt, ExtremeDistancesStayFinite) {
  const Matrix tiny = lookAt({0, 0, 0}, {1e-30f, 0, 0}, Up, 0.0f);
  ASSERT_TRUE(allFinite(tiny));
  expectVecNear(transformPoint({1, 0, 0}, tiny), {0, 0, 1});
  const Matrix huge = lookAt({3e38f, 0, 0}, {-3e38f, 1e38f, 0}, Up, 1.0f);
  ASSERT_TRUE(allFinite(huge));
  expectRotation(huge);
}

TEST(Perspective, DegenerateCamerasGiveZerosNotInfinities) {
  const Matrix p = perspective(1.5707964f, 0.75f, 1.0f, 1000.0f);
  EXPECT_NEAR(p(0, 0), 0.75f, 1e-6f);
  EXPECT_NEAR(p(1, 1), 1.0f, 1e-6f);
  EXPECT_EQ(p(2, 3), 1.0f);
  const Matrix noAngle = perspective(0.0f, 0.75f, 1.0f, 1000.0f);
  EXPECT_TRUE(allFinite(noAngle));
  EXPECT_EQ(noAngle(0, 0), 0.0f);
  const Matrix noDepth = perspective(1.0f, 0.75f, 5.0f, 5.0f);
  EXPECT_TRUE(allFinite(noDepth));
  EXPECT_EQ(noDepth(2, 2), 0.0f);
  EXPECT_TRUE(allFinite(perspective(1.0f, 0.0f, 0.0f, 0.0f)));
}

}  // namespace
}  // namespace demo
