// The mixer's SSE2 and AVX2 loops against its scalar reference: the same voices, runs, gain changes
// and retriggers must give the same bits in every output value and the same voice state.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "music/mixer.h"

namespace demo {
namespace {

constexpr int32_t Rate = 44100;

class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int32_t below(int32_t n) { return static_cast<int32_t>(next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_;
};

// A sample as the loader leaves it: length + 8 entries, the guard sample behind the loop.
std::unique_ptr<Sample> randomSample(Random& random) {
  auto s = std::make_unique<Sample>();
  s->length = 1 + static_cast<uint32_t>(random.below(random.below(4) ? 3000 : 40));
  s->data.reset(new int16_t[s->length + 8]());
  const bool extremes = random.below(4) == 0;  // full-scale jumps stress the interpolation's difference
  for (uint32_t i = 0; i < s->length; ++i) {
    s->data[i] = extremes ? (random.below(2) ? 32767 : -32768) : static_cast<int16_t>(random.next());
  }
  const int kind = random.below(3);
  s->loopKind = kind == 0 ? LoopNone : kind == 1 ? LoopForward : LoopPingPong;
  const auto length = static_cast<int32_t>(s->length);
  s->loopStart = s->loopKind == LoopNone ? 0 : static_cast<uint32_t>(random.below(length));
  const auto room = length - static_cast<int32_t>(s->loopStart);
  s->loopLength = s->loopKind == LoopNone ? s->length : 1 + static_cast<uint32_t>(random.below(room));
  if (s->loopKind == LoopForward) s->data[s->loopEnd()] = s->data[s->loopStart];
  if (s->loopKind == LoopPingPong) s->data[s->loopEnd()] = s->data[s->loopEnd() - 1];
  return s;
}

int32_t randomFrequency(Random& random) {
  switch (random.below(5)) {
    case 0: return 50 + random.below(2000);             // at and below the 100 Hz floor
    case 1: return Rate - 2 + random.below(5);          // one sample per frame, give or take
    case 2: return Rate + random.below(Rate);           // one to two samples per frame
    case 3: return random.below(9 * Rate);              // up to nine
    default: return 2000 + random.below(Rate - 2000);  // the usual: below one sample per frame
  }
}

// What the player does to a voice between runs: new gains (starting a ramp), a new pitch, a trigger.
void disturb(Mixer& mixer, Voice& v, const Sample* sample, uint32_t choice, int32_t level, int32_t pan,
             int32_t frequency, uint32_t start) {
  if (choice % 3 == 0) {
    v.gainFirst = level * (255 - pan) / 255;
    v.gainSecond = level * pan / 255;
  }
  if (choice % 5 == 0) mixer.setVoicePitch(v, frequency);
  if (choice % 7 == 0) {
    v.sample = sample;
    v.position = start < sample->loopEnd() ? start : 0;
    v.fraction = 0;
    v.direction = DirectionForward;
    v.currentFirst = v.currentSecond = 0;
    v.rampLeft = 0;
  }
}

void expectSameVoices(const Mixer& a, const Mixer& b) {
  for (int i = 0; i < Mixer::VoiceCount; ++i) {
    const Voice& x = a.voice(i);
    const Voice& y = b.voice(i);
    ASSERT_EQ(x.sample, y.sample) << "voice " << i;
    ASSERT_EQ(x.position, y.position) << "voice " << i;
    ASSERT_EQ(x.fraction, y.fraction) << "voice " << i;
    ASSERT_EQ(x.direction, y.direction) << "voice " << i;
    ASSERT_EQ(x.currentFirst, y.currentFirst) << "voice " << i;
    ASSERT_EQ(x.currentSecond, y.currentSecond) << "voice " << i;
    ASSERT_EQ(x.rampLeft, y.rampLeft) << "voice " << i;
  }
}

void expectSameAsReference(MixPath path, uint32_t seed) {
  Random random(seed);
  Mixer reference, candidate;
  reference.configure(Rate);
  candidate.configure(Rate);
  reference.setPath(MixPath::Scalar);
  candidate.setPath(path);
  ASSERT_EQ(candidate.path(), path);
  std::vector<std::unique_ptr<Sample>> samples;
  for (int i = 0; i < 12; ++i) samples.push_back(randomSample(random));
  const int voices = 1 + random.below(Mixer::VoiceCount);
  for (int i = 0; i < voices; ++i) {
    const Sample* sample = samples[static_cast<size_t>(random.below(12))].get();
    const int32_t level = random.below(128), pan = random.below(256), frequency = randomFrequency(random);
    for (Mixer* m : {&reference, &candidate}) disturb(*m, m->voice(i), sample, 0, level, pan, frequency, 0);
  }
  std::vector<float> expected(2 * 2048), actual(2 * 2048);
  for (int block = 0; block < 40; ++block) {
    // Runs of any length: a tick's rest, a whole block, single frames.
    const int32_t frames = random.below(3) == 0 ? 1 + random.below(16) : 1 + random.below(2048);
    for (size_t i = 0; i < expected.size(); ++i) {
      expected[i] = actual[i] = static_cast<float>(random.below(2001) - 1000);  // the sum so far
    }
    reference.mixVoices(expected.data(), frames);
    candidate.mixVoices(actual.data(), frames);
    ASSERT_EQ(std::memcmp(expected.data(), actual.data(), expected.size() * sizeof(float)), 0)
        << "seed " << seed << ", block " << block << " of " << frames << " frames";
    expectSameVoices(reference, candidate);
    for (int i = 0; i < voices; ++i) {
      if (random.below(3) != 0) continue;
      const uint32_t choice = random.next();
      const Sample* sample = samples[static_cast<size_t>(random.below(12))].get();
      const int32_t level = random.below(128), pan = random.below(256), frequency = randomFrequency(random);
      const auto start = static_cast<uint32_t>(random.below(3000));
      for (Mixer* m : {&reference, &candidate}) disturb(*m, m->voice(i), sample, choice, level, pan, frequency, start);
    }
  }
}

TEST(MixPaths, EveryPathGivesTheReferenceBits) {
  int tested = 0;
  for (MixPath path : {MixPath::Sse2, MixPath::Avx2}) {
    if (!Mixer::runs(path)) continue;
    ++tested;
    SCOPED_TRACE(static_cast<int>(path));
    for (uint32_t seed = 1; seed <= 60; ++seed) {
      expectSameAsReference(path, seed);
      if (HasFatalFailure()) return;
    }
  }
  if (tested == 0) GTEST_SKIP() << "only the scalar loops run here";
}

TEST(MixPaths, ConvertBlockRoundsAndClipsEveryValueAsTheScalarDefinition) {
  // Values around the clipping points, halves and random sums, over lengths that end in every
  // vector loop's remainder.
  Random random(7);
  std::vector<float> values;
  for (int i = 0; i < 4099; ++i) {
    switch (random.below(4)) {
      case 0: values.push_back(static_cast<float>(random.below(70000) - 35000)); break;
      case 1: values.push_back(static_cast<float>(random.below(65536) - 32768) + 0.5f); break;
      case 2: values.push_back(static_cast<float>(random.below(2000000) - 1000000) / 16.0f); break;
      default: values.push_back(32767.5f - static_cast<float>(random.below(3)) * 65535.5f); break;
    }
  }
  for (int32_t frames : {1, 7, 8, 9, 16, 17, 2049}) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2 + 1, 99);
    convertBlock(out.data(), values.data(), frames);
    for (int32_t i = 0; i < frames * 2; ++i) {
      const float clipped = std::min(std::max(values[static_cast<size_t>(i)], -32768.0f), 32767.0f);
      ASSERT_EQ(out[static_cast<size_t>(i)], static_cast<int16_t>(std::nearbyint(clipped)))
          << "value " << values[static_cast<size_t>(i)] << " of " << frames << " frames";
    }
    EXPECT_EQ(out.back(), 99) << "nothing written beyond the block";
  }
}

TEST(MixPaths, TheFastestPathIsChosenAndAnUnavailableOneFallsBack) {
  Mixer mixer;
  EXPECT_EQ(mixer.path(), Mixer::fastestPath());
  EXPECT_TRUE(Mixer::runs(MixPath::Scalar));
  mixer.setPath(MixPath::Scalar);
  EXPECT_EQ(mixer.path(), MixPath::Scalar);
  mixer.setPath(MixPath::Avx2);
  EXPECT_EQ(mixer.path(), Mixer::runs(MixPath::Avx2) ? MixPath::Avx2 : Mixer::fastestPath());
}

}  // namespace
}  // namespace demo
