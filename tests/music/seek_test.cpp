// Starting a module part-way: the sound and the clock from the block reached on are those of playing
// from the start, bit for bit, for real modules and the showcase tune at several times, among them
// inside a pattern loop, right after a pattern break and after an E5x changed a finetune.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "music/audio_output.h"
#include "music_fixtures.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo::test {
namespace {

// Notes where the song does the things a seek must land inside: the first tick with a pattern loop
// running, the first row reached by a jump (a break or an order jump).
class SongMarks : public TickObserver {
 public:
  explicit SongMarks(const Channels& channels) : channels_(channels) {}
  void beforeTick(const Module& module, uint64_t) override {
    for (const Channel& channel : channels_)
      if (channel.loopCount > 0 && !insideLoop) insideLoop = module.timeCounter;
    // The tick about to run is a row tick going where a break or a jump sent it, not to the next row.
    if (module.tick != 0 || afterJump || module.order >= module.songLength) return;
    const bool lastRow = module.row == module.patternAt(module.order).rows - 1;
    const bool orderJump = module.nextOrder >= 0 && module.nextOrder != module.order && !lastRow;
    const bool rowJump = module.nextRow > 0 && module.nextRow != module.row + 1;
    if (orderJump || rowJump) afterJump = module.timeCounter;
  }
  std::optional<int32_t> insideLoop, afterJump;

 private:
  const Channels& channels_;
};

// The output of one play: PCM from the start (or from the block the seek reached), and the clock
// of every block after it.
struct Playback {
  std::vector<int16_t> pcm;
  std::vector<int32_t> blockTimes;
  uint64_t firstFrame = 0;  // the song's frame the PCM starts at
};

class SongPlayer {
 public:
  SongPlayer() : output_(wave_) {
    output_.setThreaded(false);
    EXPECT_TRUE(output_.openAudioOutput());
  }
  ~SongPlayer() { output_.freeModule(module_); }

  bool load(const std::string& path) { return (module_ = output_.loadModule(path.c_str())) != nullptr; }
  AudioOutput& output() { return output_; }
  Module& module() { return *module_; }

  // Plays from `from` ms (0: the plain start) for at least `blocks` blocks.
  Playback play(uint32_t from, int blocks) {
    Playback result;
    if (from == 0)
      EXPECT_TRUE(output_.startModule(module_));
    else
      EXPECT_TRUE(output_.startModuleAt(module_, from));
    const int32_t blockFrames = output_.blockFrames();
    result.firstFrame = output_.framesRendered() - static_cast<uint64_t>(output_.ringFrames());
    for (int b = 0; b < AudioOutput::BlockCount; ++b) result.blockTimes.push_back(output_.blockTime(b));
    wave_.takePlayed();
    for (int b = 0; b < blocks; ++b) {
      wave_.advance(static_cast<uint32_t>(blockFrames));
      output_.poll();  // renders the block just left, 100 blocks on
      result.blockTimes.push_back(output_.blockTime(output_.refillIndex() == 0 ? AudioOutput::BlockCount - 1
                                                                                : output_.refillIndex() - 1));
    }
    const std::vector<uint8_t> bytes = wave_.takePlayed();
    result.pcm.resize(bytes.size() / 2);
    std::memcpy(result.pcm.data(), bytes.data(), result.pcm.size() * 2);
    return result;
  }

 private:
  VirtualWaveOut wave_;
  AudioOutput output_;
  Module* module_ = nullptr;
};

// Seeks to each time and compares two seconds of sound and clock with the play from the start.
// Returns how many of the song's marks (a loop, a jump) were among the targets.
int expectExactSeeks(const std::string& path, std::vector<uint32_t> targets, bool withMarks) {
  SCOPED_TRACE(path);
  SongPlayer reference;
  EXPECT_TRUE(reference.load(path));
  if (::testing::Test::HasFailure()) return 0;
  SongMarks marks(reference.output().channels());
  reference.output().setTickObserver(&marks);
  constexpr int CompareBlocks = 100;  // two seconds
  // Long enough for the latest target and the marks found on the way.
  uint32_t latest = 0;
  for (uint32_t t : targets) latest = std::max(latest, t);
  const int blockFrames = reference.output().blockFrames();
  const int blocks = static_cast<int>(latest / 19) + 2 * CompareBlocks + 100;
  const Playback whole = reference.play(0, blocks);
  const size_t plainTargets = targets.size();
  if (withMarks) {
    // Marks beyond the latest target would run past the reference.
    if (marks.insideLoop && static_cast<uint32_t>(*marks.insideLoop) + 5 <= latest)
      targets.push_back(static_cast<uint32_t>(*marks.insideLoop) + 5);
    if (marks.afterJump && static_cast<uint32_t>(*marks.afterJump) <= latest)
      targets.push_back(static_cast<uint32_t>(*marks.afterJump));
  }

  SongPlayer seeking;
  EXPECT_TRUE(seeking.load(path));
  const auto compare = [&](uint32_t target) {
    SCOPED_TRACE("seek to " + std::to_string(target) + " ms");
    const Playback seek = seeking.play(target, CompareBlocks);
    ASSERT_EQ(seek.firstFrame % static_cast<uint64_t>(blockFrames), 0u) << "a seek lands on a block boundary";
    const size_t block = static_cast<size_t>(seek.firstFrame / static_cast<uint64_t>(blockFrames));
    // The first block the seek plays begins at or after the target, its predecessor before it.
    const int32_t blockStart = block == 0 ? 0 : whole.blockTimes[block - 1];
    EXPECT_GE(static_cast<uint32_t>(blockStart), target);
    if (block > 0) {
      EXPECT_LT(static_cast<uint32_t>(block == 1 ? 0 : whole.blockTimes[block - 2]), target);
    }
    ASSERT_LE(block + seek.blockTimes.size(), whole.blockTimes.size());
    for (size_t i = 0; i < seek.blockTimes.size(); ++i)
      ASSERT_EQ(seek.blockTimes[i], whole.blockTimes[block + i]) << "clock of block " << i << " after the seek";
    const size_t first = static_cast<size_t>(seek.firstFrame) * 2;
    ASSERT_LE(first + seek.pcm.size(), whole.pcm.size());
    size_t differing = 0;
    for (size_t i = 0; i < seek.pcm.size(); ++i) differing += seek.pcm[i] != whole.pcm[first + i];
    EXPECT_EQ(differing, 0u) << "of " << seek.pcm.size() << " samples after the seek";
  };
  for (uint32_t target : targets) {
    if (::testing::Test::HasFatalFailure()) break;
    compare(target);
  }
  return static_cast<int>(targets.size() - plainTargets);
}

TEST(MusicSeek, RealModulesPlayOnBitForBit) {
  DEMO_REQUIRE_TESTDATA();
  const auto files = testdataFiles("xm", {".xm"});
  ASSERT_FALSE(files.empty());
  for (const auto& file : files) expectExactSeeks(file.string(), {1, 777, 10'000, 21'500}, true);
}

TEST(MusicSeek, ShowcaseTunePlaysOnBitForBit) {
  const std::filesystem::path tune = SHOWCASE_TUNE;
  if (!std::filesystem::exists(tune)) GTEST_SKIP() << "the showcase tune is not built at " << tune;
  // Its breakdown ends with a pattern break (the climax starts at 41.971 s by the clock).
  EXPECT_GE(expectExactSeeks(tune.string(), {19, 20, 7'313, 41'971, 60'000}, true), 1) << "the break was not found";
}

// A song made for the question: an E6x loop played three times, then a break into row 16 of the
// next pattern, an E5x finetune change on the way, and a tempo change inside a block.
XmSong loopAndBreakSong() {
  XmSong song = basicSong(2, 32);
  song.addPattern(32);
  song.orders = {0, 1, 0};
  song.cell(0, 0, 0) = {49, 1, 0x40, 0, 0};
  song.cell(0, 4, 0) = {0, 0, 0, 0xE, 0x60};  // loop start
  song.cell(0, 6, 1) = {61, 1, 0, 0x4, 0x46};  // vibrato under the loop
  song.cell(0, 8, 0) = {0, 0, 0, 0xE, 0x62};  // two more times
  song.cell(0, 10, 0) = {52, 1, 0, 0xE, 0x57};  // a finetune change the second half plays with
  song.cell(0, 12, 1) = {0, 0, 0, 0xF, 150};    // tempo
  song.cell(0, 20, 0) = {0, 0, 0, 0xD, 0x16};   // break into row 16 of the next pattern
  song.cell(1, 16, 0) = {56, 1, 0, 0xA, 0x02};
  song.cell(1, 24, 1) = {0, 0, 0, 0xF, 125};
  return song;
}

TEST(MusicSeek, LoopBreakFinetuneAndTempoChangesPlayOnBitForBit) {
  TempDir dir;
  const auto path = dir / "loops.xm";
  saveXm(path, loopAndBreakSong());
  // Across the loop, the break and a second round of the song (the finetune is the file's again).
  EXPECT_EQ(expectExactSeeks(path.string(), {300, 1'200, 2'000, 2'600, 4'000, 6'500, 9'000}, true), 2)
      << "the loop and the break were not both found";
}

TEST(MusicSeek, SeekingTwiceGivesTheSameSoundAsOnce) {
  TempDir dir;
  const auto path = dir / "loops.xm";
  saveXm(path, loopAndBreakSong());
  SongPlayer player;
  ASSERT_TRUE(player.load(path.string()));
  const Playback once = player.play(4'000, 50);
  player.play(9'000, 10);  // an E5x has run in between
  const Playback again = player.play(4'000, 50);
  EXPECT_EQ(again.firstFrame, once.firstFrame);
  EXPECT_EQ(again.pcm, once.pcm);
  EXPECT_EQ(again.blockTimes, once.blockTimes);
}

TEST(MusicSeek, PauseHoldsTheClockAndResumePlaysOnFromIt) {
  TempDir dir;
  const auto path = dir / "loops.xm";
  saveXm(path, loopAndBreakSong());
  SongPlayer reference;
  ASSERT_TRUE(reference.load(path.string()));
  const Playback whole = reference.play(0, 300);

  SongPlayer player;
  ASSERT_TRUE(player.load(path.string()));
  player.play(0, 120);
  AudioOutput& output = player.output();
  const uint32_t clock = output.musicTime();
  output.pause();
  EXPECT_TRUE(output.paused());
  EXPECT_EQ(output.musicTime(), clock);
  EXPECT_EQ(output.playingModule(), nullptr) << "the ring is let go: the device is silent";
  EXPECT_TRUE(output.resume());
  EXPECT_FALSE(output.paused());
  // The sound goes on with the block that begins where the clock stood.
  const uint64_t first = output.framesRendered() - static_cast<uint64_t>(output.ringFrames());
  const size_t block = static_cast<size_t>(first / static_cast<uint64_t>(output.blockFrames()));
  EXPECT_EQ(whole.blockTimes[block - 1], static_cast<int32_t>(clock));
  EXPECT_FALSE(output.resume()) << "nothing is paused any more";
}

TEST(MusicSeek, AdvancingVoicesLeavesThemAsMixingDoes) {
  // Ramps, ping-pong turns and sample ends over odd run lengths, through every mixer loop.
  XmSong song = basicSong(4, 16);
  song.instruments[0].samples[0].loop = XmLoop::PingPong;
  song.cell(0, 0, 0) = {49, 1, 0, 0, 0};
  song.cell(0, 0, 1) = {30, 1, 0x20, 0x8, 0x20};
  song.cell(0, 2, 2) = {70, 1, 0, 0xA, 0x0F};
  song.cell(0, 3, 0) = {0, 0, 0x10, 0, 0};
  for (MixPath path : {MixPath::Scalar, MixPath::Sse2, MixPath::Avx2}) {
    if (!Mixer::runs(path)) continue;
    PlayerRig mixed(song), advanced(song);
    mixed.mixer.setPath(path);
    std::vector<float> scratch(2 * 1000);
    for (int step = 0; step < 60; ++step) {
      const int frames = 1 + (step * 137) % 997;
      mixed.tick();
      advanced.tick();
      mixed.mixer.mixVoices(scratch.data(), frames);
      advanced.mixer.advanceVoices(frames);
      for (int v = 0; v < 4; ++v) {
        const Voice& a = mixed.voice(v);
        const Voice& b = advanced.voice(v);
        ASSERT_EQ(a.position, b.position) << "voice " << v << ", step " << step;
        ASSERT_EQ(a.fraction, b.fraction);
        ASSERT_EQ(a.direction, b.direction);
        ASSERT_EQ(a.sample == nullptr, b.sample == nullptr);
        ASSERT_EQ(a.currentFirst, b.currentFirst);
        ASSERT_EQ(a.currentSecond, b.currentSecond);
        ASSERT_EQ(a.rampLeft, b.rampLeft);
      }
    }
  }
}

}  // namespace
}  // namespace demo::test
