// The mixer on hand-made samples: where runs end, what is read, and how gains ramp.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "music/mixer.h"

namespace demo {
namespace {

constexpr int32_t Rate = 44100;

Sample makeSample(const std::vector<int16_t>& values, uint8_t loopKind = LoopNone, uint32_t loopStart = 0,
                  uint32_t loopLength = 0) {
  Sample s;
  s.length = static_cast<uint32_t>(values.size());
  s.data.reset(new int16_t[s.length + 8]());
  for (size_t i = 0; i < values.size(); ++i) s.data[i] = values[i];
  s.loopKind = loopKind;
  s.loopStart = loopKind == LoopNone ? 0 : loopStart;
  s.loopLength = loopKind == LoopNone ? s.length : loopLength;
  if (loopKind == LoopForward) s.data[s.loopEnd()] = s.data[s.loopStart];
  if (loopKind == LoopPingPong) s.data[s.loopEnd()] = s.data[s.loopEnd() - 1];
  return s;
}

// A voice at steady gains (no ramp pending): first channel only, unity gain.
Voice& steadyVoice(Mixer& mixer, const Sample& sample, int32_t frequency, int32_t gainFirst = 255,
                   int32_t gainSecond = 0) {
  Voice& v = mixer.voice(0);
  v.sample = &sample;
  mixer.setVoicePitch(v, frequency);
  v.gainFirst = v.lastGainFirst = gainFirst;
  v.gainSecond = v.lastGainSecond = gainSecond;
  v.currentFirst = static_cast<uint32_t>(gainFirst) * 256;
  v.currentSecond = static_cast<uint32_t>(gainSecond) * 256;
  return v;
}

std::vector<float> firstChannel(const std::vector<float>& block) {
  std::vector<float> out;
  for (size_t i = 0; i < block.size(); i += 2) out.push_back(block[i]);
  return out;
}

void expectNear(const std::vector<float>& actual, const std::vector<float>& expected, float tolerance) {
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tolerance) << "frame " << i;
}

class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override { mixer.configure(Rate); }
  std::vector<float> mix(int frames) {
    std::vector<float> block(static_cast<size_t>(frames) * 2, 0.0f);
    mixer.mixVoices(block.data(), frames);
    return block;
  }
  Mixer mixer;
};

TEST_F(MixerTest, ConfigurationFollowsTheRate) {
  EXPECT_EQ(mixer.rampLength(), 512);
  EXPECT_EQ(mixer.voice(31).index, 31);
  EXPECT_EQ(mixer.voice(5).stepInteger, 1u);
  Mixer other;
  other.configure(22050);
  EXPECT_EQ(other.rampLength(), 256);
}

TEST_F(MixerTest, StepIsA3232FractionOfTheRateWithA100HzFloor) {
  Voice& v = mixer.voice(0);
  mixer.setVoicePitch(v, 8363);
  EXPECT_EQ(v.frequency, 8363);
  EXPECT_EQ(v.stepInteger, 0u);
  EXPECT_EQ(v.stepFraction, static_cast<uint32_t>((uint64_t{8363} << 32) / Rate));
  mixer.setVoicePitch(v, 3 * Rate + Rate / 4);
  EXPECT_EQ(v.stepInteger, 3u);
  EXPECT_EQ(v.stepFraction, 1u << 30);
  mixer.setVoicePitch(v, 50);
  EXPECT_EQ(v.frequency, 50) << "stored as set";
  EXPECT_EQ(v.stepFraction, static_cast<uint32_t>((uint64_t{100} << 32) / Rate)) << "played at 100 Hz";
  mixer.setVoicePitch(v, -5000);
  EXPECT_EQ(v.stepFraction, static_cast<uint32_t>((uint64_t{100} << 32) / Rate));
}

TEST_F(MixerTest, NothingHappensForAnEmptyRunOrASilentTable) {
  std::vector<float> block(8, 1.0f);
  mixer.mixVoices(block.data(), 0);
  mixer.mixVoices(block.data(), -3);
  mixer.mixVoices(block.data(), 4);
  EXPECT_EQ(block, std::vector<float>(8, 1.0f));
}

TEST_F(MixerTest, TheEmptySampleStopsWithoutBeingRead) {
  Sample empty;  // length 0, no data
  steadyVoice(mixer, empty, Rate);
  const std::vector<float> block = mix(16);
  EXPECT_EQ(mixer.voice(0).sample, nullptr);
  EXPECT_EQ(block, std::vector<float>(32, 0.0f));
}

TEST_F(MixerTest, ANonLoopingSampleEndsExactlyAtItsLength) {
  const Sample s = makeSample({1000, 2000});
  steadyVoice(mixer, s, Rate / 2);
  const std::vector<float> block = mix(8);
  // The last frame interpolates towards the zero padding behind the data.
  expectNear(firstChannel(block), {1000, 1500, 2000, 1000, 0, 0, 0, 0}, 1e-3f);
  EXPECT_EQ(mixer.voice(0).sample, nullptr);
  EXPECT_EQ(mixer.voice(0).position, 0u);
}

TEST_F(MixerTest, GainsSplitTheSampleBetweenTheTwoChannels) {
  const Sample s = makeSample({1000, 1000, 1000, 1000}, LoopForward, 0, 4);
  steadyVoice(mixer, s, Rate, 51, 102);
  const std::vector<float> block = mix(3);
  expectNear(block, {200, 400, 200, 400, 200, 400}, 1e-3f);
}

TEST_F(MixerTest, AForwardLoopWrapsSeveralLengthsInOneStep) {
  const Sample s = makeSample({0, 100}, LoopForward, 0, 2);
  steadyVoice(mixer, s, 5 * Rate);
  expectNear(firstChannel(mix(6)), {0, 100, 0, 100, 0, 100}, 1e-3f);
  EXPECT_NE(mixer.voice(0).sample, nullptr);
  EXPECT_LT(mixer.voice(0).position, 2u);
}

TEST_F(MixerTest, AForwardLoopReturnsToItsStart) {
  const Sample s = makeSample({7, 10, 20, 30}, LoopForward, 1, 3);
  steadyVoice(mixer, s, Rate);
  expectNear(firstChannel(mix(9)), {7, 10, 20, 30, 10, 20, 30, 10, 20}, 1e-3f);
}

TEST_F(MixerTest, APingPongLoopReversesAtBothEnds) {
  const Sample s = makeSample({0, 10, 20, 30}, LoopPingPong, 0, 4);
  Voice& v = steadyVoice(mixer, s, Rate);
  // Reflection lands a 2^-32 step inside the loop, so backward frames read just below the integers.
  expectNear(firstChannel(mix(16)), {0, 10, 20, 30, 30, 30, 20, 10, 0, 10, 20, 30, 30, 30, 20, 10}, 1e-3f);
  EXPECT_EQ(v.direction, DirectionForward);
}

TEST_F(MixerTest, APingPongStepLongerThanTheLoopStaysInside) {
  const Sample s = makeSample({0, 10, 20, 30, 40, 50}, LoopPingPong, 2, 2);
  Voice& v = steadyVoice(mixer, s, 7 * Rate);
  mix(200);
  EXPECT_NE(v.sample, nullptr);
  EXPECT_GE(v.position, 2u);
  EXPECT_LT(v.position, 4u);
}

TEST_F(MixerTest, BackwardPlayReachingTheLoopStartExactlyStaysInTheLoop) {
  const Sample s = makeSample({5, 10, 20, 30}, LoopPingPong, 1, 3);
  Voice& v = steadyVoice(mixer, s, Rate);
  v.direction = DirectionBackward;
  v.position = 3;
  expectNear(firstChannel(mix(4)), {30, 20, 10, 20}, 1e-3f);
  EXPECT_GE(v.position, 1u) << "never below the loop start";
  EXPECT_EQ(v.direction, DirectionForward);
}

TEST_F(MixerTest, ANewNoteRampsInOver512Frames) {
  const Sample s = makeSample({1000, 1000}, LoopForward, 0, 2);
  Voice& v = steadyVoice(mixer, s, Rate);
  v.currentFirst = v.currentSecond = 0;  // as a trigger leaves it
  const std::vector<float> first = firstChannel(mix(600));
  EXPECT_NEAR(first[0], 0, 1e-3);
  EXPECT_NEAR(first[256], 500, 0.5);
  EXPECT_NEAR(first[511], 1000 * 511.0 / 512, 0.5);
  EXPECT_NEAR(first[512], 1000, 1e-3) << "the ramp lands exactly on its target";
  EXPECT_EQ(v.rampLeft, 0);
  EXPECT_EQ(v.currentFirst, 255u * 256);
}

TEST_F(MixerTest, AGainChangeDuringARampStartsANewRampFromWhereItGot) {
  const Sample s = makeSample({1000, 1000}, LoopForward, 0, 2);
  Voice& v = steadyVoice(mixer, s, Rate);
  v.currentFirst = v.currentSecond = 0;
  mix(128);
  EXPECT_EQ(v.rampLeft, 512 - 128);
  const uint32_t reached = v.currentFirst;
  EXPECT_NEAR(reached / 256.0, 255 * 128 / 512.0, 0.5);
  v.gainFirst = 0;
  const std::vector<float> first = firstChannel(mix(600));
  EXPECT_NEAR(first[0], 1000 * reached / 256.0 / 255.0, 0.5);
  EXPECT_NEAR(first[256], first[0] / 2, 2.0) << "a full new ramp, not the rest of the old one";
  EXPECT_NEAR(first[599], 0, 1e-3);
  EXPECT_EQ(v.rampLeft, 0);
}

TEST_F(MixerTest, SilentVoicesStillMove) {
  const Sample s = makeSample(std::vector<int16_t>(100, 500));
  Voice& v = steadyVoice(mixer, s, Rate, 0, 0);
  const std::vector<float> block = mix(40);
  EXPECT_EQ(block, std::vector<float>(80, 0.0f));
  EXPECT_EQ(v.position, 40u);
  mix(100);
  EXPECT_EQ(v.sample, nullptr) << "and end where they would have ended";
}

TEST_F(MixerTest, ResultsDoNotDependOnHowTheBlockIsCut) {
  // One long run goes through the four-frame vector loop, single frames through the scalar one;
  // both must give the same bits, forward and backward, at an uneven step.
  std::vector<int16_t> values(3000);
  uint32_t seed = 12345;
  for (int16_t& v : values) {
    seed = seed * 1103515245 + 12345;
    v = static_cast<int16_t>(seed >> 16);
  }
  const Sample s = makeSample(values, LoopPingPong, 100, 2500);
  auto render = [&](int pieces) {
    Mixer m;
    m.configure(Rate);
    steadyVoice(m, s, 40123, 200, 77);
    std::vector<float> block(2 * 4000, 0.0f);
    const int size = 4000 / pieces;
    for (int i = 0; i < pieces; ++i) m.mixVoices(block.data() + 2 * i * size, size);
    return block;
  };
  const std::vector<float> whole = render(1);
  const std::vector<float> single = render(4000);
  const std::vector<float> odd = render(16);  // runs of 250 frames: vector loop plus a remainder
  for (size_t i = 0; i < whole.size(); ++i) {
    ASSERT_EQ(whole[i], single[i]) << "sample " << i;
    ASSERT_EQ(whole[i], odd[i]) << "sample " << i;
  }
}

TEST(ConvertBlock, RoundsHalfToEvenAndClips) {
  // 12 frames: the vector part and the scalar tail must agree.
  const std::vector<float> values = {0.5f,  1.5f,  2.5f,     -0.5f,    -1.5f, -2.5f,     32766.5f,
                                     40000, -40000, 32767.6f, -32768.6f, 1e10f, -1e10f, 0.49f,
                                     -0.51f, 3.5f, 100.2f,    -100.7f,   7.0f,  8.5f,      9.5f,
                                     0.0f,  -0.0f,  32767.0f};
  const std::vector<int16_t> expected = {0, 2, 2, 0, -2, -2, 32766, 32767, -32768, 32767, -32768, 32767,
                                         -32768, 0, -1, 4, 100, -101, 7, 8, 10, 0, 0, 32767};
  for (size_t shift = 0; shift < values.size(); shift += 2) {
    std::vector<float> rotated(values.begin() + shift, values.end());
    rotated.insert(rotated.end(), values.begin(), values.begin() + shift);
    std::vector<int16_t> out(values.size(), 123);
    convertBlock(out.data(), rotated.data(), static_cast<int32_t>(values.size() / 2));
    for (size_t i = 0; i < values.size(); ++i) {
      EXPECT_EQ(out[i], expected[(i + shift) % values.size()]) << "value " << rotated[i];
    }
  }
}

TEST(ConvertBlock, IgnoresEmptyAndNullArguments) {
  int16_t out[2] = {5, 5};
  const float in[2] = {1, 1};
  convertBlock(out, in, 0);
  convertBlock(out, nullptr, 1);
  convertBlock(nullptr, in, 1);
  EXPECT_EQ(out[0], 5);
}

}  // namespace
}  // namespace demo
