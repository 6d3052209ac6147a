// The audio output against the virtual WaveOut: block sizes, the slow clock, refills and stopping.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "music/audio_output.h"
#include "music_fixtures.h"
#include "platform/headless/virtual_wave_out.h"

namespace demo {
namespace {

using test::basicSong;
using test::loadXm;

class AudioOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    output.setThreaded(false);
    ASSERT_TRUE(output.openAudioOutput());
    wave.setCollecting(false);
  }
  Module* load(const XmSong& song) { return loadXm(song).release(); }
  // Plays frames through the device, refilling after every block as the output thread would.
  void play(uint64_t frames) {
    while (frames > 0) {
      const auto chunk = static_cast<uint32_t>(std::min<uint64_t>(frames, output.blockFrames()));
      wave.advance(chunk);
      output.poll();
      frames -= chunk;
    }
  }

  VirtualWaveOut wave;
  AudioOutput output{wave};
};

XmSong tempoSong(uint16_t bpm, uint16_t speed) {
  XmSong song = basicSong(1);
  song.bpm = bpm;
  song.speed = speed;
  return song;
}

TEST_F(AudioOutputTest, BlocksAndRingFollowTheRate) {
  EXPECT_EQ(output.rate(), 44100);
  EXPECT_EQ(output.blockFrames(), 884);
  EXPECT_EQ(output.ringFrames(), 88400);
  EXPECT_TRUE(wave.isOpen());
  EXPECT_EQ(wave.rate(), 44100);
  EXPECT_EQ(wave.bytesPerFrame(), 4);
  ASSERT_TRUE(output.openDevice(22050));
  EXPECT_EQ(output.blockFrames(), 444) << "441 rounded up to a multiple of 4";
  EXPECT_EQ(output.ringFrames(), 44400);
  EXPECT_EQ(output.mixer().rampLength(), 256);
}

TEST_F(AudioOutputTest, OpeningNeedsTheFileOperations) {
  VirtualWaveOut other;
  AudioOutput unregistered(other);
  EXPECT_FALSE(unregistered.openDevice(44100));
  EXPECT_FALSE(other.isOpen());
}

TEST_F(AudioOutputTest, TheClockReadsZeroBeforeStartAndAfterTheModuleIsFreed) {
  EXPECT_EQ(output.musicTime(), 0u);
  Module* m = load(tempoSong(125, 6));
  EXPECT_EQ(output.musicTime(), 0u) << "loaded is not playing";
  ASSERT_TRUE(output.startModule(m));
  play(44100);
  EXPECT_GT(output.musicTime(), 0u);
  output.freeModule(m);
  EXPECT_EQ(output.musicTime(), 0u);
  EXPECT_EQ(output.playingModule(), nullptr);
  EXPECT_FALSE(output.startModule(nullptr));
  EXPECT_FALSE(output.stopModule(nullptr));
}

TEST_F(AudioOutputTest, TheFirstReadingIsTheEndOfBlockZero) {
  Module* m = load(tempoSong(144, 3));
  ASSERT_TRUE(output.startModule(m));
  EXPECT_EQ(output.musicTime(), 19u) << "runs of 765 and 119 frames count 17 + 2 ms";
  EXPECT_EQ(output.refillIndex(), 0) << "the whole ring was rendered";
  EXPECT_TRUE(wave.isPlaying());
  output.freeModule(m);
}

TEST_F(AudioOutputTest, TruncatedMillisecondsMakeTheClockRunSlow) {
  Module* m = load(tempoSong(144, 3));
  ASSERT_TRUE(output.startModule(m));
  // 14966 blocks are 299.9987 s of sound; the clock reads the end of the block being played.
  play(uint64_t{14966 - 1} * 884);
  EXPECT_EQ(output.musicTime(), 284686u);
  output.freeModule(m);

  m = load(tempoSong(125, 6));
  ASSERT_TRUE(output.startModule(m));
  play(uint64_t{14966 - 1} * 884);
  EXPECT_EQ(output.musicTime(), 284999u);
  output.freeModule(m);
}

class TickLog final : public TickObserver {
 public:
  void beforeTick(const Module&, uint64_t frame) override { frames.push_back(frame); }
  std::vector<uint64_t> frames;
};

TEST_F(AudioOutputTest, ATempoChangeLengthensTheTickThatMadeIt) {
  XmSong song = tempoSong(125, 1);
  song.cell(0, 1, 0) = {0, 0, 0, 0xF, 32};
  Module* m = load(song);
  TickLog log;
  output.setTickObserver(&log);
  ASSERT_TRUE(output.startModule(m));
  ASSERT_GE(log.frames.size(), 4u);
  EXPECT_EQ(log.frames[1], 882u);
  EXPECT_EQ(log.frames[2], 882u + 3445);
  EXPECT_EQ(log.frames[3], 882u + 2 * 3445);
  output.freeModule(m);
}

TEST_F(AudioOutputTest, EachPollRefillsTheBlocksTheDeviceHasLeft) {
  Module* m = load(tempoSong(125, 6));
  ASSERT_TRUE(output.startModule(m));
  wave.advance(883);
  output.poll();
  EXPECT_EQ(output.refillIndex(), 0) << "block 0 is still playing";
  wave.advance(1);
  output.poll();
  EXPECT_EQ(output.refillIndex(), 1);
  EXPECT_EQ(output.clockIndex(), 1);
  EXPECT_EQ(output.musicTime(), static_cast<uint32_t>(output.blockTime(1)));
  wave.advance(5 * 884);
  output.poll();
  EXPECT_EQ(output.refillIndex(), 6);
  EXPECT_EQ(output.clockIndex(), 6);
  output.freeModule(m);
}

TEST_F(AudioOutputTest, ABacklogAcrossTheEndOfTheRingIsCaughtUpAtOnce) {
  Module* m = load(tempoSong(125, 6));
  ASSERT_TRUE(output.startModule(m));
  play(97 * 884);
  ASSERT_EQ(output.refillIndex(), 97);
  wave.advance(6 * 884);  // the device wraps round to block 3
  output.poll();
  EXPECT_EQ(output.refillIndex(), 3);
  EXPECT_EQ(output.clockIndex(), 3);
  output.freeModule(m);
}

TEST_F(AudioOutputTest, StoppingWithoutAThreadReturnsAtOnce) {
  Module* m = load(tempoSong(125, 6));
  ASSERT_TRUE(output.startModule(m));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(output.stopModule(m));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
  EXPECT_EQ(output.playingModule(), nullptr);
  EXPECT_EQ(output.mixer().voice(0).sample, nullptr) << "no voice keeps pointing into the module";
  output.poll();  // nothing to do, nothing touched
  delete m;
}

TEST_F(AudioOutputTest, TheDevicePlaysExactlyTheRenderedBlocks) {
  // Two runs of the same module through fresh outputs give the same bytes, and the played bytes
  // go on seamlessly from the initial ring into the refilled blocks.
  auto render = [](const XmSong& song, uint32_t frames) {
    VirtualWaveOut device;
    AudioOutput out(device);
    out.setThreaded(false);
    EXPECT_TRUE(out.openAudioOutput());
    Module* m = loadXm(song).release();
    out.startModule(m);
    for (uint32_t done = 0; done < frames; done += 884) {
      device.advance(884);
      out.poll();
    }
    out.freeModule(m);
    return device.takePlayed();
  };
  XmSong song = basicSong(1);
  song.cell(0, 0, 0) = {49, 1, 0, 0, 0};
  const std::vector<uint8_t> once = render(song, 3 * 88400);
  EXPECT_EQ(once, render(song, 3 * 88400));
  ASSERT_EQ(once.size(), 3u * 88400 * 4);
  // The square wave keeps sounding: no second of it is silent.
  for (size_t second = 0; second < 6; ++second) {
    int loud = 0;
    for (size_t i = second * 176400; i < (second + 1) * 176400 && i + 1 < once.size(); i += 2) {
      loud += std::abs(static_cast<int16_t>(once[i] | once[i + 1] << 8)) > 100;
    }
    EXPECT_GT(loud, 1000) << "second " << second;
  }
}

TEST(AudioOutputThread, TheThreadRefillsAsTheDevicePlaysAndStops) {
  VirtualWaveOut wave;
  wave.setCollecting(false);
  AudioOutput output(wave);
  ASSERT_TRUE(output.openAudioOutput());
  Module* m = loadXm(tempoSong(125, 6)).release();
  ASSERT_TRUE(output.startModule(m));
  for (int block = 1; block <= 3; ++block) {
    wave.advance(884);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (output.clockIndex() != block && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(output.clockIndex(), block);
  }
  EXPECT_GT(output.musicTime(), 0u);
  output.freeModule(m);
  EXPECT_EQ(output.musicTime(), 0u);
}

}  // namespace
}  // namespace demo
