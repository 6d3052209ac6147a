// What a capture into a folder leaves behind: the same files on every run, exactly as many frames as
// --seconds allows, and an error (never a silent loss) when the output cannot be written.
#include <filesystem>

#include "app/application.h"
#include "app/capture.h"
#include "capture_fixture.h"

namespace demo::test {
namespace {

constexpr const char* MusicShow =
    "loadmusic <m> SONG\n"
    "playmusic <m>\n"
    "start\n"
    "fadebg 0xff102030 0xffe0d0c0 2:600\n"
    "at 2:600\n"
    "end\n";

TEST_F(CaptureTest, TwoCapturesOfTheSameShowAreByteForByteIdentical) {
  writeShow(
      "loadmusic <m> SONG\n"
      "loadtexture <t> PICTURE 64 64 1\n"
      "makeimage <i> <t> 0 0 1 1\n"
      "playmusic <m>\n"
      "start\n"
      "fadebg 0xff102030 0xffe0d0c0 2:600\n"
      "sizeimage <i> 0.2 0.2 0.9 0.6 +2:600\n"
      "moveimage <i> 0 0 0.1 0.4 +2:600\n"
      "spackblurimage <i> 0 12 3 40 +2:600\n"
      "showimage <i> addalpha +2:600\n"
      "at 2:600\n"
      "end\n");
  ASSERT_EQ(capture(options("first", 30)), 0) << log;
  ASSERT_EQ(capture(options("second", 30)), 0) << log;
  const auto first = frameFiles(dir / "first");
  const auto second = frameFiles(dir / "second");
  ASSERT_EQ(first.size(), second.size());
  ASSERT_GT(first.size(), 60u);
  for (size_t k = 0; k < first.size(); ++k) ASSERT_EQ(readFile(first[k]), readFile(second[k])) << first[k];
  EXPECT_EQ(readFile(dir / "first" / "audio.wav"), readFile(dir / "second" / "audio.wav"));
}

TEST_F(CaptureTest, SecondsCutsTheShowShortAtExactlyThatManyFrames) {
  writeShow("loadmusic <m> SONG\nplaymusic <m>\nstart\nat 59:000\nend\n");
  CaptureOptions o = options("out", 60);
  o.seconds = 2.5;
  ASSERT_EQ(capture(o), 0) << log;
  EXPECT_EQ(frameFiles(dir / "out").size(), 150u);
  EXPECT_EQ(readWav(dir / "out" / "audio.wav").data.size(), 150u * 735 * 4);
  EXPECT_NE(log.find("captured 150 frames"), std::string::npos) << log;
  o.seconds = 0.001;
  ASSERT_EQ(capture(o), 0) << log;
  EXPECT_NE(log.find("captured 1 frame (0.017 s at 60 fps)"), std::string::npos) << log;
}

TEST_F(CaptureTest, AShowEndingBeforeItsFirstFrameLeavesAnEmptySoundFile) {
  writeShow("end\n");
  ASSERT_EQ(capture(options("out")), 0) << log;
  EXPECT_TRUE(frameFiles(dir / "out").empty());
  const WavSound sound = readWav(dir / "out" / "audio.wav");
  EXPECT_EQ(sound.rate, Rate);
  EXPECT_TRUE(sound.data.empty());
}

TEST_F(CaptureTest, AScriptThatDoesNotCompileKeepsItsExitCodeAndMakesNoFolder) {
  // No demo.run written.
  EXPECT_EQ(capture(options("out")), ExitNoScript);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
  writeShow("start\nfoo\n");
  EXPECT_EQ(capture(options("nested/out")), ExitNoScript);
  EXPECT_FALSE(std::filesystem::exists(dir / "nested"));
  EXPECT_NE(log.find("demo.run:2: unknown command \"foo\""), std::string::npos) << log;
}

TEST_F(CaptureTest, FramesOfAnEarlierCaptureGoOtherFilesStay) {
  std::filesystem::create_directories(dir / "out");
  writeFile(dir / "out" / "frame_000999.png", {1, 2, 3});
  writeFile(dir / "out" / "frame_notes.txt", {4});
  writeShow("start\nend\n");
  ASSERT_EQ(capture(options("out")), 0) << log;
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "frame_000999.png"));
  EXPECT_TRUE(std::filesystem::exists(dir / "out" / "frame_notes.txt"));
  EXPECT_EQ(frameFiles(dir / "out").size(), 120u) << "start's pause; end abandons the frame it runs in";
}

TEST_F(CaptureTest, AFileInTheWayIsRefusedAndLeftAlone) {
  writeShow(MusicShow);
  writeFile(dir / "out", {'k', 'e', 'e', 'p'});
  EXPECT_EQ(capture(options("out")), ExitCaptureFailed);
  EXPECT_NE(log.find("exists and is not a folder"), std::string::npos) << log;
  EXPECT_EQ(readFile(dir / "out"), (std::vector<unsigned char>{'k', 'e', 'e', 'p'}));
}

TEST_F(CaptureTest, AFullDiskIsAnErrorAndLeavesNoHeaderlessSoundFile) {
  writeShow(MusicShow);
  {
    const FileSizeLimit disk(64 * 1024);  // the sound outgrows it after 22 frames, PNG frames never do
    EXPECT_EQ(capture(options("out")), ExitCaptureFailed);
  }
  EXPECT_NE(log.find("audio.wav: cannot write: File too large"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists(dir / "out" / "audio.wav")) << "a header promising what is not there";
  for (const auto& entry : std::filesystem::directory_iterator(dir / "out"))
    EXPECT_EQ(entry.path().filename().string().rfind("frame_", 0), 0u) << "left behind: " << entry.path();
  for (const auto& frame : frameFiles(dir / "out")) EXPECT_NE(cornerColour(frame), 0xDEADBEEFu) << frame;
}

}  // namespace
}  // namespace demo::test
