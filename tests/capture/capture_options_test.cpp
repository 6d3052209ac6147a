// The capture's command line and its progress line.
#include <gtest/gtest.h>

#include "capture/capture_progress.h"
#include "app/command_line.h"

namespace demo {
namespace {

CommandLine parse(std::vector<const char*> words) {
  words.insert(words.begin(), "demo");
  return parseCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(CaptureCommandLine, TakesItsOptionsAndLeavesTheShowItsText) {
  const CommandLine line = parse({"--capture", "out.mp4", "--fps", "24", "x", "--seconds", "1.5", "--size", "64x48"});
  ASSERT_EQ(line.mode, CommandLine::Mode::Capture) << line.error;
  EXPECT_EQ(line.capture.output, "out.mp4");
  EXPECT_EQ(line.capture.fps, 24u);
  EXPECT_EQ(line.capture.seconds, 1.5);
  EXPECT_EQ(line.capture.frameLimit(), 36u);
  EXPECT_EQ(line.capture.width, 64u);
  EXPECT_EQ(line.capture.height, 48u);
  EXPECT_EQ(line.showText, "x");

  const CommandLine defaults = parse({"--capture", "frames"});
  EXPECT_EQ(defaults.capture.fps, 60u);
  EXPECT_EQ(defaults.capture.width, 640u);
  EXPECT_EQ(defaults.capture.height, 480u);
  EXPECT_FALSE(defaults.capture.frameLimit()) << "until the show ends";
  CaptureOptions tiny;
  tiny.seconds = 0.001;
  EXPECT_EQ(tiny.frameLimit(), 1u) << "any length gives at least one frame";
}

TEST(CaptureCommandLine, RefusesValuesItCannotUseNamingTheOption) {
  const std::vector<std::vector<const char*>> bad = {
      {"--capture"},
      {"--capture", ""},
      {"--capture", "o", "--fps", "0"},
      {"--capture", "o", "--fps", "60fps"},
      {"--capture", "o", "--fps", "-5"},
      {"--capture", "o", "--fps", "1001"},
      {"--capture", "o", "--seconds", "0"},
      {"--capture", "o", "--seconds", "nan"},
      {"--capture", "o", "--seconds", "2s"},
      {"--capture", "o", "--size", "640"},
      {"--capture", "o", "--size", "0x480"},
      {"--capture", "o", "--size", "64x48x2"},
      {"--capture", "o", "--size", "9000x10"},
      {"--fps", "30"},
  };
  for (const auto& words : bad) {
    const CommandLine line = parse(words);
    EXPECT_EQ(line.mode, CommandLine::Mode::Invalid) << words.back();
    EXPECT_NE(line.error.find(words.size() > 2 ? words[words.size() - 2] : words[0]), std::string::npos) << line.error;
  }
}

TEST(CaptureCommandLine, VideoNamesEndInMp4MkvOrWebmInAnyCase) {
  EXPECT_TRUE(isVideoName("a.mp4"));
  EXPECT_TRUE(isVideoName("dir/show.MKV"));
  EXPECT_TRUE(isVideoName("x.WebM"));
  EXPECT_FALSE(isVideoName(".mp4x"));
  EXPECT_FALSE(isVideoName("frames"));
  EXPECT_FALSE(isVideoName("out.mp4/"));
}

TEST(CaptureProgress, ShowsFramesDemoTimeSpeedAndTimeLeft) {
  ProgressReading r;
  r.frames = 300;
  r.total = 600;
  r.fps = 60;
  r.demoTime = 4750;
  r.elapsed = 5;
  EXPECT_EQ(progressText(r, false),
            "capture: frame 300/600 (50%), demo 0:04.750, 60.0 fps (1.00x real time), 0:05 left");
  EXPECT_EQ(progressText(r, true),
            "[############------------]  50%  frame 300/600  demo 0:04.750  60.0 fps (1.00x)  0:05 left");
  r.total.reset();
  r.demoTime = 61001;
  EXPECT_EQ(progressText(r, false), "capture: frame 300, demo 1:01.001, 60.0 fps (1.00x real time)");
}

}  // namespace
}  // namespace demo
