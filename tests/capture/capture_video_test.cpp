// Captures into video files through the ffmpeg command: its absence, its death and its false
// success are errors that say so; the real one makes the same file on every run.
#include <filesystem>

#include "app/capture.h"
#include "capture/external_command.h"
#include "capture_fixture.h"

namespace demo::test {
namespace {

constexpr const char* ShortShow =
    "loadmusic <m> SONG\nplaymusic <m>\nstart\nfadebg 0xff000000 0xffffffff 2:300\nat 2:300\nend\n";

TEST_F(CaptureTest, AVideoWithoutFfmpegNamesTheMissingCommand) {
  writeShow(ShortShow);
  std::filesystem::create_directories(dir / "empty");
  const ScopedPath path((dir / "empty").string());
  EXPECT_EQ(capture(options("out.mp4")), ExitCaptureFailed);
  EXPECT_NE(log.find("needs the ffmpeg command, which is not on PATH"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mp4"));
}

TEST_F(CaptureTest, AnFfmpegThatDiesIsAnErrorAndLeavesNoParts) {
  writeShow(ShortShow);
  writeFakeFfmpeg(dir / "bin", "exit 3");
  const ScopedPath path((dir / "bin").string() + ":/usr/bin:/bin");
  EXPECT_EQ(capture(options("out.mkv")), ExitCaptureFailed);
  EXPECT_NE(log.find("ffmpeg failed with exit status 3"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mkv.video-part.mkv"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out.mkv.audio-part.wav"));
}

TEST_F(CaptureTest, AnFfmpegThatClaimsSuccessWithoutAFileIsAnError) {
  writeShow(ShortShow);
  writeFakeFfmpeg(dir / "bin", "cat > /dev/null; exit 0");
  const ScopedPath path((dir / "bin").string() + ":/usr/bin:/bin");
  EXPECT_EQ(capture(options("out.mp4")), ExitCaptureFailed);
  EXPECT_NE(log.find("is missing or empty"), std::string::npos) << log;
}

TEST_F(CaptureTest, AVideoNeedsAnEvenSize) {
  writeShow(ShortShow);
  CaptureOptions o = options("out.webm");
  o.width = 63;
  EXPECT_EQ(capture(o), ExitCaptureFailed);
  EXPECT_NE(log.find("needs an even width and height"), std::string::npos) << log;
}

TEST_F(CaptureTest, TwoVideoCapturesAreIdentical) {
  if (findOnPath("ffmpeg").empty()) GTEST_SKIP() << "ffmpeg is not installed";
  writeShow(ShortShow);
  // A name the shell would split or unquote.
  ASSERT_EQ(capture(options("it's a $x.mp4", 30)), 0) << log;
  ASSERT_EQ(capture(options("b.mp4", 30)), 0) << log;
  const auto a = readFile(dir / "it's a $x.mp4");
  EXPECT_GT(a.size(), 1000u);
  EXPECT_EQ(a, readFile(dir / "b.mp4"));
  EXPECT_FALSE(std::filesystem::exists(dir / "b.mp4.video-part.mkv")) << "the parts are removed";
  EXPECT_FALSE(std::filesystem::exists(dir / "b.mp4.audio-part.wav"));
}

}  // namespace
}  // namespace demo::test
