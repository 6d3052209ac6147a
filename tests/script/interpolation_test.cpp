// The arithmetic of timed instructions, pinned to the numbers the engine must produce, and the
// show's random sequence.
#include <gtest/gtest.h>

#include "fx/random.h"
#include "script/interpolation.h"

namespace demo {
namespace {

TEST(FixedFraction, IsTruncatedThousandTwentyFourths) {
  EXPECT_EQ(fixedFraction(1500, 0, 3000), 512u);
  EXPECT_EQ(fixedFraction(1, 0, 1000), 1u);
  EXPECT_EQ(fixedFraction(2999, 0, 3000), 1023u);
  EXPECT_EQ(fixedFraction(10001, 10000, 11000), 1u) << "measured from the start time";
  EXPECT_EQ(fixedFraction(5, 7, 7), 0u) << "an empty span never divides by zero";
}

TEST(FixedFraction, WrapsLikeUnsigned32BitArithmeticOverLongSpans) {
  // 5 000 000 ms x 1024 passes 2^32: the product wraps before the division, as the engine's does.
  const uint32_t wrapped = static_cast<uint32_t>(5000000u * 1024u) / 6000000u;
  EXPECT_EQ(fixedFraction(5000000, 0, 6000000), wrapped);
  EXPECT_LT(wrapped, 1024u);
}

TEST(InterpolateColour, EachChannelOnItsOwnWithAnArithmeticShift) {
  EXPECT_EQ(interpolateColour(0x00ffffff, 0xffffffff, 512), 0x7fffffffu);
  EXPECT_EQ(interpolateColour(0x000000ff, 0x00000000, 1), 0x000000feu) << "(-255 x 1) >> 10 is -1";
  EXPECT_EQ(interpolateColour(0x00000000, 0xff000000, 256), 0x3f000000u);
  EXPECT_EQ(interpolateColour(0x12345678, 0x87654321, 0), 0x12345678u);
  EXPECT_EQ(interpolateColour(0x00ff00ff, 0xff00ff00, 1023), 0xfe00fe00u);
}

TEST(InterpolateLevel, RoundsTowardsMinusInfinity) {
  EXPECT_EQ(interpolateLevel(10, 0, 1), 9);
  EXPECT_EQ(interpolateLevel(10, 0, 512), 5);
  EXPECT_EQ(interpolateLevel(0, 10, 1023), 9);
  EXPECT_EQ(interpolateLevel(0, 50, 512), 25);
}

TEST(FloatFraction, IsUnsignedElapsedOverTheSpan) {
  EXPECT_FLOAT_EQ(floatFraction(250, 0, 1000), 0.25f);
  EXPECT_FLOAT_EQ(floatFraction(12000, 10000, 18000), 0.25f);
  EXPECT_FLOAT_EQ(floatFraction(3, 3, 3), 0.0f);
  EXPECT_FLOAT_EQ(interpolateFloat(1.0f, 0.0f, 0.25f), 0.75f);
}

TEST(SceneFrame, WrapsBySegmentAboveTheLastFrame) {
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 0.1f, 1500, 0, 100), 50.0f);
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 0.1f, 1000, 0, 100), 100.0f) << "the last frame itself is not wrapped";
  EXPECT_FLOAT_EQ(sceneFrame(0, 10000, 2000.0f / 10000.0f, 16000, 0, 1000), 200.0f);
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 1.0f, 350, 100, 200), 150.0f);
}

TEST(SceneFrame, BackwardsAndBelowTheSegmentStayUnwrapped) {
  EXPECT_FLOAT_EQ(sceneFrame(400, 0, -400.0f / 12000.0f, 6000, 0, 1000), 200.0f);
  EXPECT_FLOAT_EQ(sceneFrame(400, 0, -400.0f / 12000.0f, 15000, 0, 1000), -100.0f);
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 0.01f, 1000, 100, 200), 10.0f);
}

TEST(SceneFrame, FramesTheSegmentCannotBringBackStillEnd) {
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 1.0f, 50, 0, 0), 0.0f) << "no segment: the only frame";
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 1.0f, 50, 7, 7), 7.0f);
  const float far = sceneFrame(0, 0, 1.0e6f, 0xFFFFFFFFu, 0, 10);
  EXPECT_LE(far, 10.0f);
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 3.0e38f, 0xFFFFFFFFu, 0, 10), 10.0f) << "an infinite frame";
}

// What the engine did: subtract the segment one step at a time.
float wrappedStepByStep(float frame, float first, float last) {
  while (frame > last) frame -= last - first;
  return frame;
}

TEST(SceneFrame, WrapsAsRepeatedSubtractionWould) {
  const uint32_t segments[][2] = {{0, 100}, {100, 200}, {0, 3}, {30, 1037}, {0, 65535}, {12, 19}};
  const float speeds[] = {0.1f, 0.0333f, 1.0f / 7.0f, 2.5f, 0.017f};
  for (const auto& seg : segments) {
    for (float speed : speeds) {
      for (uint32_t now = 0; now < 60000; now += 149) {
        const float frame = static_cast<float>(now) * speed;
        const float expected =
            frame > static_cast<float>(seg[1])
                ? wrappedStepByStep(frame, static_cast<float>(seg[0]), static_cast<float>(seg[1]))
                : frame;
        ASSERT_EQ(sceneFrame(0, 0, speed, now, seg[0], seg[1]), expected)
            << "segment " << seg[0] << ".." << seg[1] << ", speed " << speed << ", time " << now;
      }
    }
  }
}

TEST(SceneFrame, AFrameFarAheadWrapsAtOnceIntoTheSegment) {
  const float far = sceneFrame(0, 0, 3.0e30f, 0xFFFFFFFFu, 10, 110);
  EXPECT_GT(far, 10.0f);
  EXPECT_LE(far, 110.0f);
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 1.0f, 1u << 30, 0, 1000), static_cast<float>((1u << 30) % 1000));
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 1.0f, 2000, 0, 1000), 1000.0f) << "a whole number of segments ends on the last";
  EXPECT_FLOAT_EQ(sceneFrame(0, 0, 1.0f, 50, 20, 10), 10.0f) << "a segment that ends before it begins";
}

TEST(RandomSequence, IsTheRuntimeSequenceFromStateOne) {
  Random random;
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(random.next(), value);
  Random other;
  EXPECT_EQ(other.next(), 41) << "each show has its own sequence";
}

}  // namespace
}  // namespace demo
