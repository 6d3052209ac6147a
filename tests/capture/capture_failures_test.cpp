// Captures that cannot go on: a failing instruction, a clock that stands still, an ffmpeg that
// stops reading. Each stops with a message that says where and why and a status of its own, and
// keeps complete files only.
#include <filesystem>

#include "app/application.h"
#include "app/capture.h"
#include "capture/video_output.h"
#include "capture_fixture.h"

namespace demo::test {
namespace {

TEST_F(CaptureTest, AFailingInstructionStopsTheCaptureWithItsReasonAndStatus) {
  writeShow(
      "loadmusic <m> SONG\nplaymusic <m>\nstart\n"
      "at 2:500\n"  // the music played on through start's pause
      "loadtexture <t> \"missing.tga\" 64 64 0\n"
      "at 2:000\nend\n");
  EXPECT_EQ(capture(options("out", 30)), ExitShowFailed);
  EXPECT_NE(log.find("demo.run:5: loadtexture \"missing.tga\": not found (neither in the archive nor on disk)"),
            std::string::npos)
      << log;
  // The frames shown until then are kept, with their sound.
  const size_t frames = frameFiles(dir / "out").size();
  EXPECT_GT(frames, 60u);
  EXPECT_EQ(readWav(dir / "out" / "audio.wav").data.size(), frames * 1470 * 4);
}

TEST_F(CaptureTest, AClockThatStandsStillStopsTheCaptureAfterThreeSeconds) {
  const struct {
    const char* script;
    size_t frames;  // start's pause, then three seconds of the frozen picture
    const char* says;
  } cases[] = {
      {"start\nat 5:000\nend\n", 120 + 180,
       "demo.run:2: at 5:000 waits for a clock that stands still: no music is playing"},
      {"loadmusic <m> SONG\nplaymusic <m>\nat 5:000\nstart\nend\n", 180,
       "demo.run:3: at 5:000 waits for a clock that stands still: the show has not started"},
  };
  for (const auto& c : cases) {
    writeShow(c.script);
    EXPECT_EQ(capture(options("out")), ExitShowFailed) << c.script;
    EXPECT_NE(log.find(c.says), std::string::npos) << log;
    EXPECT_EQ(frameFiles(dir / "out").size(), c.frames) << c.script;
  }
}

TEST_F(CaptureTest, MusicStartedAfterStartsPauseIsNoFrozenClock) {
  // start sleeps two seconds with no music playing; the clock moves once playmusic has run.
  writeShow("loadmusic <m> SONG\nstart\nplaymusic <m>\nat 3:500\nend\n");
  ASSERT_EQ(capture(options("out")), 0) << log;
  EXPECT_EQ(log.find("stands still"), std::string::npos) << log;
}

TEST_F(CaptureTest, AnFfmpegThatStopsReadingIsEndedAndNamed) {
  writeFakeFfmpeg(dir / "bin", "exec sleep 600");  // alive, but never reads a frame
  CaptureOptions o = options("out.mp4");
  VideoOutput video(o.output, (dir / "bin" / "ffmpeg").string(), o, Rate, std::chrono::milliseconds(300));
  ASSERT_TRUE(video.open()) << video.error();
  const std::vector<uint8_t> frame(64 * 48 * 3, 9);
  int written = 0;
  while (written < 1000 && video.writeFrame(frame.data())) ++written;
  EXPECT_LT(written, 1000) << "the pipe never filled";
  EXPECT_EQ(video.error(), "ffmpeg stopped reading frames: it took nothing for 0.3 s, so it was ended");
  video.finishInterrupted(0);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mp4.audio-part.wav"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mp4"));
}

}  // namespace
}  // namespace demo::test
