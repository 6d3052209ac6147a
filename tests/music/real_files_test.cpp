// Every XM module of the shared test data (files made by trackers out in the world) loads and
// renders 30 seconds, the same bytes every time.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "music/audio_output.h"
#include "music/module_loader.h"
#include "music_fixtures.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo {
namespace {

struct Render {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a over the played bytes
  double rms = 0;
};

Render render30Seconds(const std::string& path) {
  VirtualWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  EXPECT_TRUE(output.openAudioOutput());
  Module* module = output.loadModule(path.c_str());
  EXPECT_NE(module, nullptr) << path;
  if (!module) return {};
  EXPECT_TRUE(output.startModule(module));
  Render result;
  double sum = 0;
  uint64_t samples = 0;
  for (uint32_t frames = 0; frames < 30 * 44100; frames += 882) {
    wave.advance(882);
    output.poll();
    const std::vector<uint8_t> bytes = wave.takePlayed();
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
      result.hash = (result.hash ^ bytes[i]) * 1099511628211ull;
      result.hash = (result.hash ^ bytes[i + 1]) * 1099511628211ull;
      const double s = static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8);
      sum += s * s;
      ++samples;
    }
  }
  output.freeModule(module);
  result.rms = std::sqrt(sum / static_cast<double>(samples));
  return result;
}

TEST(RealXmFiles, LoadAndRenderDeterministically) {
  DEMO_REQUIRE_TESTDATA();
  const auto files = test::testdataFiles("xm", {".xm"});
  ASSERT_FALSE(files.empty());
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    const Render first = render30Seconds(file.string());
    const Render second = render30Seconds(file.string());
    EXPECT_EQ(first.hash, second.hash);
    EXPECT_GT(first.rms, 300) << "music, not silence";
  }
}

TEST(RealXmFiles, HeaderFactsMatchTheFiles) {
  DEMO_REQUIRE_TESTDATA();
  struct Facts {
    const char* name;
    int channels, patterns, instruments;
    bool linear;
    int speed, bpm;
  };
  const Facts facts[] = {
      {"njam_dali.xm", 4, 4, 19, false, 6, 125},
      {"heroes_heroes02.xm", 10, 39, 16, false, 3, 149},
      {"rafkill_song2.xm", 32, 48, 65, true, 6, 140},
      {"rafkill_song4.xm", 22, 33, 31, true, 3, 130},
      {"ceferino_menu.xm", 8, 25, 3, true, 2, 176},
  };
  const MusicFileOps ops = test::streamFileOps();
  for (const Facts& f : facts) {
    SCOPED_TRACE(f.name);
    const auto m = loadModule(ops, (test::testdataDir() / "xm" / f.name).string().c_str());
    ASSERT_TRUE(m);
    EXPECT_EQ(m->channelCount, f.channels);
    EXPECT_GE(m->patternSlots, f.patterns);
    EXPECT_EQ(m->instrumentCount, f.instruments);
    EXPECT_EQ(m->linearFrequencies(), f.linear);
    EXPECT_EQ(m->defaultSpeed, f.speed);
    EXPECT_EQ(m->defaultBpm, f.bpm);
  }
}

TEST(RealXmFiles, SampleCountsMatchTheFiles) {
  DEMO_REQUIRE_TESTDATA();
  const MusicFileOps ops = test::streamFileOps();
  const auto m = loadModule(ops, (test::testdataDir() / "xm" / "rafkill_song4.xm").string().c_str());
  ASSERT_TRUE(m);
  int samples = 0;
  for (int i = 0; i < m->instrumentCount; ++i) samples += m->instruments[i].sampleCount;
  EXPECT_EQ(samples, 272);
}

}  // namespace
}  // namespace demo
