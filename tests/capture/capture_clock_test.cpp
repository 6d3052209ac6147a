// The capture's clock: every frame gets exactly its share of the sound, and shows the clock reading
// the show would have had at that moment, at frame rates that divide 44100 and at one that does not.
#include <algorithm>

#include "capture/frame_schedule.h"
#include "capture_fixture.h"
#include "script/interpolation.h"

namespace demo::test {
namespace {

// The music time at the end of block b as the audio output counts it, worked out from scratch:
// every run between two tick or block boundaries adds its length truncated to whole milliseconds,
// using a single-precision 1 / rate.
uint32_t clockAtEndOfBlock(uint64_t block) {
  const double inverseRate = static_cast<double>(1.0f / static_cast<float>(Rate));
  const uint64_t end = (block + 1) * BlockFrames;
  int32_t time = 0;
  for (uint64_t frame = 0; frame < end;) {
    const uint64_t next = std::min((frame / BlockFrames + 1) * BlockFrames, (frame / TickFrames + 1) * TickFrames);
    time += static_cast<int32_t>(static_cast<double>(next - frame) * inverseRate * 1000.0);
    frame = next;
  }
  return static_cast<uint32_t>(time);
}

// The show starts (pausing two seconds on a silent black screen), then the music, and the
// background fades from black to white over the first second of music time.
constexpr const char* FadeShow =
    "loadmusic <m> SONG\n"
    "start\n"
    "playmusic <m>\n"
    "fadebg 0xff000000 0xffffffff 1:000\n"
    "at 1:000\n"
    "end\n";

class CaptureAtRate : public CaptureTest, public ::testing::WithParamInterface<uint32_t> {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    if (IsSkipped()) return;
    writeShow(FadeShow);
    ASSERT_EQ(capture(options("out", fps())), 0) << log;
    frames = frameFiles(dir / "out");
    sound = readWav(dir / "out" / "audio.wav");
  }
  uint32_t fps() const { return GetParam(); }
  // The frames of start's two-second pause; the music starts in the step that presents the next.
  uint64_t pauseFrames() const { return 2 * fps(); }

  std::vector<std::filesystem::path> frames;
  WavSound sound;
};

TEST_P(CaptureAtRate, TheSoundLastsExactlyTheFramesShareAndIsSilentUntilTheMusicStarts) {
  const FrameSchedule schedule(Rate, fps());
  ASSERT_GT(frames.size(), pauseFrames() + fps() / 2);
  EXPECT_EQ(sound.rate, Rate);
  EXPECT_EQ(sound.channels, 2);
  EXPECT_EQ(sound.bits, 16);
  const uint64_t samples = frames.size() * Rate / fps();
  EXPECT_EQ(sound.data.size(), samples * 4) << frames.size() << " frames at " << fps() << " fps";
  EXPECT_EQ(sound.declaredBytes, sound.data.size());

  const size_t musicStart = schedule.start(pauseFrames()) * 4;
  ASSERT_LT(musicStart, sound.data.size());
  EXPECT_TRUE(std::all_of(sound.data.begin(), sound.data.begin() + static_cast<std::ptrdiff_t>(musicStart),
                          [](uint8_t b) { return b == 0; }))
      << "nothing plays before playmusic";
  EXPECT_EQ(sound.data, [&] {
    std::vector<uint8_t> expected(musicStart, 0);
    const std::vector<uint8_t> song = playedSong(songPath(), samples - schedule.start(pauseFrames()));
    expected.insert(expected.end(), song.begin(), song.end());
    return expected;
  }()) << "from its first frame on, the music as it plays without interruption";
}

TEST_P(CaptureAtRate, EachFrameIsClearedToTheColourSetAtThePreviousFramesClockReading) {
  const FrameSchedule schedule(Rate, fps());
  const uint64_t music = pauseFrames();
  // The clock a frame reads: the end time of the block the device plays at the frame's start.
  const auto clock = [&](uint64_t frame) {
    return clockAtEndOfBlock((schedule.start(frame) - schedule.start(music)) / BlockFrames);
  };
  ASSERT_GT(frames.size(), music + 2);
  for (uint64_t k = 0; k <= music; ++k) ASSERT_EQ(cornerColour(frames[k]), 0u) << "frame " << k;
  // fadebg sets the background while a frame runs; the next frame is cleared to it.
  for (uint64_t k = music + 2; k < frames.size(); ++k) {
    const uint32_t expected = interpolateColour(0xFF000000u, 0xFFFFFFFFu, fixedFraction(clock(k - 1), 0, 1000));
    ASSERT_EQ(cornerColour(frames[k]), expected & 0xFFFFFFu) << "frame " << k << ", clock " << clock(k - 1);
  }
  EXPECT_LT(clock(frames.size() - 1), 1000u);
  EXPECT_GE(clock(frames.size()), 1000u) << "the show ends in the first frame whose clock reaches 1:000";
}

INSTANTIATE_TEST_SUITE_P(FrameRates, CaptureAtRate, ::testing::Values(60u, 50u, 30u, 24u),
                         [](const ::testing::TestParamInfo<uint32_t>& info) {
                           return std::to_string(info.param) + "fps";
                         });

TEST_F(CaptureTest, MusicStartedBeforeThePausePlaysOnUnderTheBlackFrames) {
  writeShow("loadmusic <m> SONG\nplaymusic <m>\nstart\nat 2:300\nend\n");
  ASSERT_EQ(capture(options("out", 24)), 0) << log;
  const auto frames = frameFiles(dir / "out");
  ASSERT_GT(frames.size(), 49u);
  for (size_t k = 0; k < 48; ++k) ASSERT_EQ(cornerColour(frames[k]), 0u) << "frame " << k;
  const WavSound sound = readWav(dir / "out" / "audio.wav");
  EXPECT_EQ(sound.data, playedSong(songPath(), frames.size() * Rate / 24));
}

}  // namespace
}  // namespace demo::test
