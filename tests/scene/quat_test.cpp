// Rotations: axis-angle keys and spherical interpolation with its two special branches.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/quat.h"
#include "scene/vec3.h"

namespace demo {
namespace {

constexpr float Pi = 3.14159265f;
const float Half = std::sqrt(0.5f);

void expectQuatNear(const Quat& a, const Quat& b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.w, b.w, tolerance);
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

bool finite(const Quat& q) {
  return std::isfinite(q.w) && std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z);
}

TEST(Quat, AxisAngleNormalisesTheAxisAndRefusesAZeroOne) {
  expectQuatNear(axisAngle({0, 0, 5}, Pi / 2), {Half, 0, 0, Half});
  expectQuatNear(axisAngle({0, 0, 0}, 1.0f), {1, 0, 0, 0});
  expectQuatNear(axisAngle({1e-30f, 0, 0}, 1.0f), {1, 0, 0, 0});
  const Quat huge = axisAngle({3e38f, 3e38f, 0}, Pi);
  expectQuatNear(huge, {0, Half, Half, 0});  // an axis whose squared length overflows
}

TEST(Quat, NormalisedGivesUnitLengthOrTheIdentity) {
  expectQuatNear(normalised(Quat{2, 0, 0, 2}), {Half, 0, 0, Half});
  expectQuatNear(normalised(Quat{0, 0, 0, 0}), {1, 0, 0, 0});
  expectQuatNear(normalised(Quat{1e-30f, 0, 0, 0}), {1, 0, 0, 0});  // tiny, not zero: still a direction
  expectQuatNear(normalised(Quat{3e38f, 0, 3e38f, 0}), {Half, 0, Half, 0});
}

TEST(Slerp, RunsFromTheFirstRotationToTheSecond) {
  const Quat a = axisAngle({0, 1, 0}, 0.2f);
  const Quat b = axisAngle({0, 1, 0}, 1.4f);
  expectQuatNear(slerp(a, b, 0.0f), a);
  expectQuatNear(slerp(a, b, 1.0f), b);
  expectQuatNear(slerp(a, b, 0.25f), axisAngle({0, 1, 0}, 0.5f));
}

TEST(Slerp, NegativeDotProductTakesTheLongerArc) {
  // -q is the same quarter turn about z as q, but no sign flip: half way lies 135 degrees about -z,
  // not the 45 degrees about +z of the shorter arc.
  const Quat q1 = {-Half, 0, 0, -Half};
  const Quat mid = slerp(Quat{}, q1, 0.5f);
  expectQuatNear(mid, {std::cos(3 * Pi / 8), 0, 0, -std::sin(3 * Pi / 8)});
  EXPECT_NEAR(dot(mid, mid), 1.0f, 1e-5f);
}

TEST(Slerp, OppositeRotationsTurnThroughThePerpendicularQuaternion) {
  const Quat q0 = axisAngle({0, 0, 1}, 0.6f);
  const Quat q1 = {-q0.w, -q0.x, -q0.y, -q0.z};
  const Quat perpendicular = {-q0.x, q0.w, -q0.z, q0.y};
  EXPECT_NEAR(dot(q0, perpendicular), 0.0f, 1e-7f);
  expectQuatNear(slerp(q0, q1, 1.0f), perpendicular);  // q1 itself is never reached
  const Quat mid = slerp(q0, q1, 0.5f);
  expectQuatNear(mid, {Half * (q0.w + perpendicular.w), Half * (q0.x + perpendicular.x),
                       Half * (q0.y + perpendicular.y), Half * (q0.z + perpendicular.z)});
  expectQuatNear(slerp(Quat{}, Quat{-1, 0, 0, 0}, 0.5f), {Half, Half, 0, 0});  // a quarter turn about x
}

TEST(Slerp, NearlyEqualOrOppositeRotationsStayFinite) {
  const Quat a{1, 0, 0, 0};
  // Dot products a rounding step above 1 or below -1, and just inside.
  const Quat cases[] = {{1.0000001f, 0, 0, 0}, {0.99999994f, 0.0003f, 0, 0}, {std::cos(1e-4f), std::sin(1e-4f), 0, 0},
                        {-1.0000001f, 0, 0, 0}, {-0.9999999f, 0.0004f, 0, 0}, {-0.99999994f, 0, 0.0003f, 0}};
  for (const Quat& b : cases) {
    for (float t : {0.0f, 0.3f, 1.0f}) {
      const Quat q = slerp(a, b, t);
      EXPECT_TRUE(finite(q)) << b.w << " " << t;
    }
  }
}

TEST(Vec3Normalised, GivesADirectionForAnyFiniteVectorAndTheFallbackForZero) {
  const Vec3 fallback{0, 0, 1};
  EXPECT_EQ(normalised(Vec3{0, 3, 4}, fallback), (Vec3{0, 0.6f, 0.8f}));
  EXPECT_EQ(normalised(Vec3{0, 0, 0}, fallback), fallback);
  EXPECT_EQ(normalised(Vec3{INFINITY, 0, 0}, fallback), fallback);
  const Vec3 tiny = normalised(Vec3{1e-30f, 0, -1e-30f}, fallback);
  EXPECT_NEAR(tiny.x, Half, 1e-6f);
  EXPECT_NEAR(tiny.z, -Half, 1e-6f);
  const Vec3 huge = normalised(Vec3{3e38f, 3e38f, 0}, fallback);
  EXPECT_NEAR(huge.x, Half, 1e-6f);
  EXPECT_NEAR(huge.y, Half, 1e-6f);
}

}  // namespace
}  // namespace demo
