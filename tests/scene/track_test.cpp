// Keyframe tracks: the spline tangents of vector and scalar tracks, the running rotations, the
// segment search, and keys that arrive out of order.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/tracks.h"

namespace demo {
namespace {

constexpr float Pi = 3.14159265f;

VectorKey vectorKey(uint32_t frame, Vec3 value, float tension = 0, float continuity = 0, float bias = 0) {
  return {frame, tension, continuity, bias, value};
}

ScalarKey scalarKey(uint32_t frame, float value) { return {frame, 0, 0, 0, value}; }

void expectVecNear(const Vec3& a, const Vec3& b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

void expectQuatNear(const Quat& a, const Quat& b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.w, b.w, tolerance);
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(Tracks, WithoutKeysGiveZeroAndTheIdentity) {
  EXPECT_EQ(evalVector(VectorTrack{}, 5.0f), (Vec3{0, 0, 0})) << "a node without a scale track collapses";
  EXPECT_EQ(evalScalar(ScalarTrack{}, 5.0f), 0.0f);
  const Quat q = evalRotation(RotationTrack{}, 5.0f);
  EXPECT_EQ(q.w, 1.0f);
  EXPECT_EQ(q.x, 0.0f);
}

TEST(Tracks, OneKeyHoldsItsValueAtEveryFrame) {
  const VectorKey vk[] = {vectorKey(10, {1, -2, 3}, 0.5f, -0.25f, 0.75f)};
  const VectorTrack v = buildVectorTrack(vk);
  EXPECT_EQ(v.keys[0].inTangent, (Vec3{0, 0, 0}));
  EXPECT_EQ(v.keys[0].outTangent, (Vec3{0, 0, 0}));
  const ScalarKey sk[] = {scalarKey(10, 45.0f)};
  const ScalarTrack s = buildScalarTrack(sk);
  const RotationKey rk[] = {{10, 0.5f, {0, 2, 0}}};
  const RotationTrack r = buildRotationTrack(rk);
  for (float frame : {0.0f, 10.0f, 10.5f, 1000.0f}) {
    EXPECT_EQ(evalVector(v, frame), (Vec3{1, -2, 3})) << frame;
    EXPECT_EQ(evalScalar(s, frame), 45.0f) << frame;
    expectQuatNear(evalRotation(r, frame), {std::cos(0.25f), 0, std::sin(0.25f), 0});
  }
}

TEST(Tracks, FramesOnKeysGiveTheKeysExactly) {
  const VectorKey vk[] = {vectorKey(0, {1, 2, 3}, 0.3f, 0.2f, -0.4f), vectorKey(7, {-5, 4, 0.5f}, -0.2f, 0.6f, 0.1f),
                          vectorKey(30, {2, 9, -8}), vectorKey(31, {0.25f, 0, 1})};
  const VectorTrack v = buildVectorTrack(vk);
  for (const VectorKey& k : vk) EXPECT_EQ(evalVector(v, static_cast<float>(k.frame)), k.value) << k.frame;
  EXPECT_EQ(evalVector(v, -3.0f), vk[0].value) << "before the first key";
  EXPECT_EQ(evalVector(v, 99.0f), vk[3].value) << "after the last key";
}

TEST(Tracks, HalfwayBetweenTwoPlainKeysIsTheMean) {
  const VectorKey vk[] = {vectorKey(0, {0, 2, 4}), vectorKey(20, {4, 10, -2})};
  expectVecNear(evalVector(buildVectorTrack(vk), 10.0f), {2, 6, 1});
  const ScalarKey sk[] = {scalarKey(4, 30.0f), scalarKey(8, 50.0f)};
  EXPECT_NEAR(evalScalar(buildScalarTrack(sk), 6.0f), 40.0f, 1e-5f);
}

TEST(Tracks, ScalarInnerTangentsAreHalfTheVectorOnesForEvenKeys) {
  const float values[] = {0.0f, 5.0f, 20.0f};
  std::vector<VectorKey> vk;
  std::vector<ScalarKey> sk;
  for (uint32_t i = 0; i < 3; ++i) {
    vk.push_back(vectorKey(i * 10, {values[i], 0, 0}));
    sk.push_back(scalarKey(i * 10, values[i]));
  }
  const VectorTrack v = buildVectorTrack(vk);
  const ScalarTrack s = buildScalarTrack(sk);
  // Middle key: (5 + 15) / 2 = 10, scaled by 2 x 10 / 20 for vectors and by 10 / 20 for scalars.
  EXPECT_FLOAT_EQ(v.keys[1].inTangent.x, 10.0f);
  EXPECT_FLOAT_EQ(v.keys[1].outTangent.x, 10.0f);
  EXPECT_FLOAT_EQ(s.keys[1].inTangent, 5.0f);
  EXPECT_FLOAT_EQ(s.keys[1].outTangent, 5.0f);
  // End keys take their one neighbour's difference, unscaled, in both.
  EXPECT_FLOAT_EQ(v.keys[0].outTangent.x, 5.0f);
  EXPECT_FLOAT_EQ(s.keys[0].outTangent, 5.0f);
  EXPECT_FLOAT_EQ(v.keys[2].inTangent.x, 15.0f);
  EXPECT_FLOAT_EQ(s.keys[2].inTangent, 15.0f);
}

TEST(Tracks, UnevenSpansAndTensionContinuityBiasShapeTheTangents) {
  // Key at frame 10 between frames 0 and 40, values 0, 10, 40: g1 = 10, g2 = 30.
  const VectorKey vk[] = {vectorKey(0, {0, 0, 0}), vectorKey(10, {10, 0, 0}, 0.5f, 0.5f, 0.5f),
                          vectorKey(40, {40, 0, 0})};
  const VectorTrack v = buildVectorTrack(vk);
  // in = 0.25 x (1.5 x 0.5 x 10 + 0.5 x 1.5 x 30) = 7.5, x 2 x 10 / 40;
  // out = 0.25 x (1.5 x 1.5 x 10 + 0.5 x 0.5 x 30) = 7.5, x 2 x 30 / 40.
  EXPECT_FLOAT_EQ(v.keys[1].inTangent.x, 3.75f);
  EXPECT_FLOAT_EQ(v.keys[1].outTangent.x, 11.25f);
  // A quarter of the way from frame 10 to 40: h1 = 27/32, h2 = 5/32, h3 = 9/64, h4 = -3/64.
  EXPECT_NEAR(evalVector(v, 17.5f).x, 27.0f / 32 * 10 + 5.0f / 32 * 40 + 9.0f / 64 * 11.25f - 3.0f / 64 * 30, 1e-4f);
}

TEST(Tracks, ALongTrackOfEvenStepsIsFoundAndFollowedInEverySegment) {
  // Equal steps give every key the step as its tangents, and the spline is then the straight line.
  std::vector<VectorKey> vk;
  for (uint32_t i = 0; i < 300; ++i) vk.push_back(vectorKey(i * 3, {2.0f * static_cast<float>(i * 3), 1, 0}));
  const VectorTrack v = buildVectorTrack(vk);
  for (float f = 0.0f; f < 897.0f; f += 0.7f) expectVecNear(evalVector(v, f), {2 * f, 1, 0}, 1e-3f);
}

TEST(Tracks, KeysOutOfOrderAreSortedAndRepeatedFramesDropped) {
  const VectorKey vk[] = {vectorKey(20, {3, 0, 0}), vectorKey(0, {1, 0, 0}), vectorKey(10, {2, 0, 0}),
                          vectorKey(10, {9, 9, 9}), vectorKey(0, {7, 7, 7})};
  const VectorTrack v = buildVectorTrack(vk);
  ASSERT_EQ(v.keys.size(), 3u);
  EXPECT_EQ(v.keys[0].frame, 0u);
  EXPECT_EQ(v.keys[1].frame, 10u);
  EXPECT_EQ(v.keys[2].frame, 20u);
  EXPECT_EQ(evalVector(v, 10.0f), (Vec3{2, 0, 0})) << "the first of the keys at a frame stays";
  EXPECT_EQ(evalVector(v, 0.0f), (Vec3{1, 0, 0}));
  for (float f = -1.0f; f < 22.0f; f += 0.25f) {
    const Vec3 p = evalVector(v, f);
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << f;
  }

  const ScalarKey sk[] = {scalarKey(5, 1.0f), scalarKey(5, 2.0f), scalarKey(5, 3.0f)};
  const ScalarTrack s = buildScalarTrack(sk);
  ASSERT_EQ(s.keys.size(), 1u);
  EXPECT_EQ(s.keys[0].inTangent, 0.0f);
  EXPECT_EQ(evalScalar(s, 6.0f), 1.0f);

  // Rotations accumulate in frame order: 90 degrees about y at frame 0, then another at frame 10.
  const RotationKey rk[] = {{10, Pi / 2, {0, 1, 0}}, {0, Pi / 2, {0, 1, 0}}, {10, 1.0f, {1, 0, 0}}};
  const RotationTrack r = buildRotationTrack(rk);
  ASSERT_EQ(r.keys.size(), 2u);
  expectQuatNear(r.keys[1].rotation, {0, 0, 1, 0});
}

TEST(Tracks, HugeKeyValuesNeverMakeNaN) {
  const VectorKey vk[] = {vectorKey(0, {3e38f, -3e38f, 0}), vectorKey(1, {-3e38f, 3e38f, 1}),
                          vectorKey(2, {3e38f, -3e38f, 0}, -1.0f, -1.0f, -1.0f)};
  const VectorTrack v = buildVectorTrack(vk);
  for (const VectorTrackKey& k : v.keys) {
    EXPECT_TRUE(std::isfinite(k.inTangent.x) && std::isfinite(k.outTangent.y));
  }
  for (float f = 0.0f; f <= 2.0f; f += 0.125f) {
    const Vec3 p = evalVector(v, f);
    EXPECT_FALSE(std::isnan(p.x) || std::isnan(p.y) || std::isnan(p.z)) << f;
  }
}

TEST(RotationTrack, EachKeyTurnsOnFromThePreviousNewKeyOnTheLeft) {
  const float h = std::sqrt(0.5f);
  const RotationKey rk[] = {{0, Pi / 2, {3, 0, 0}}, {10, Pi / 2, {0, 1, 0}}};
  const RotationTrack r = buildRotationTrack(rk);
  expectQuatNear(r.keys[0].rotation, {h, h, 0, 0});
  // (y quarter turn) . (x quarter turn); the other order would give z = +0.5.
  expectQuatNear(r.keys[1].rotation, {0.5f, 0.5f, 0.5f, -0.5f});
}

TEST(RotationTrack, AZeroAxisKeyAddsNoRotation) {
  const RotationKey rk[] = {{0, Pi / 3, {0, 0, 1}}, {10, 2.0f, {0, 0, 0}}, {20, 1.0f, {0, 0, 1e-7f}}};
  const RotationTrack r = buildRotationTrack(rk);
  const Quat first = r.keys[0].rotation;
  for (const RotationTrackKey& k : r.keys) expectQuatNear(k.rotation, first, 1e-6f);
  expectQuatNear(evalRotation(r, 5.0f), first, 1e-6f);
  expectQuatNear(first, {std::cos(Pi / 6), 0, 0, std::sin(Pi / 6)});
}

TEST(RotationTrack, ProductsStayUnitLength) {
  std::vector<RotationKey> rk;
  for (uint32_t i = 0; i < 2000; ++i) rk.push_back({i, 0.37f + 0.001f * i, {1.0f, 2.0f, -0.5f + 0.01f * i}});
  const RotationTrack r = buildRotationTrack(rk);
  const Quat last = r.keys.back().rotation;
  EXPECT_NEAR(dot(last, last), 1.0f, 3e-7f);
}

TEST(RotationTrack, InterpolatesBetweenKeysBySlerp) {
  const RotationKey rk[] = {{0, 0.0f, {0, 1, 0}}, {10, Pi / 2, {0, 1, 0}}};
  const Quat mid = evalRotation(buildRotationTrack(rk), 5.0f);
  expectQuatNear(mid, {std::cos(Pi / 8), 0, std::sin(Pi / 8), 0});
}

}  // namespace
}  // namespace demo
