// A capture of a section (--from, --to) against the capture of the whole show: the frames and the
// sound from the section's start on are the same, byte for byte, for the commands that depend on
// the clock alone; the exceptions (the random sequence, a background one frame behind) behave as
// the README says.
#include <algorithm>

#include "capture_fixture.h"
#include "gfx/png_file.h"
#include "support/scene_samples.h"
#include "writers/3ds_writer.h"

namespace demo::test {
namespace {

// 30 fps: 1470 output frames per video frame. 735 blocks of 884 frames are exactly 442 video
// frames, so a section starting with block 735 meets the whole show's frames one for one.
constexpr uint32_t Fps = 30;
constexpr uint64_t SectionBlock = 735;
constexpr uint64_t FramesBeforeSection = 2 * Fps + 442;  // start's pause, then the music up to it
constexpr uint32_t FrameBytes = Rate / Fps * 4;

// Images faded, moved, sized and blurred, and a scene playing, all at once. Every change is written
// before the drawing it changes (the drawings of the first block end where the second block's
// changes begin), so each frame shows the values of its own time.
constexpr const char* ClockShow =
    "loadtexture <t> PICTURE 64 64 1\n"
    "makeimage <a> <t> 0 0 1 1\n"
    "makeimage <b> <t> 0 0 2 2\n"
    "loadscene <s> SCENE\n"
    "loadmusic <m> SONG\n"
    "start\n"
    "playmusic <m>\n"
    "  fadeimage <a> 0x00ffffff 0xffffffff +8:000\n"
    "  moveimage <a> -0.5 0.5 0 0.5 +16:000\n"
    "  sizeimage <a> 0.2 1 0.2 1 +16:000\n"
    "  blurimage <b> 0 30 +16:000\n"
    "  fadeimage <b> 0xff808080 0xff808080 +0\n"
    "  showimage <b> copy 13:000\n"
    "  playscene <s> 0 @25 13:000\n"
    "  showimage <a> addalpha 13:000\n"
    "at 13:000\n"
    "  fadeimage <a> 0xffffffff 0x40ff0000 +2:000\n"
    "  fadesalpha <s> 1 0.3 +2:000\n"
    "  showimage <b> copy +7:000\n"
    "  playscene <s> 200 @25 +7:000\n"
    "  showimage <a> addalpha +7:000\n"
    "at 17:000\n"
    "  end\n";

// The background fades, spackblurimage jumps between levels on one image and a fade written after
// the other image's drawing changes it; each image covers a quarter of the screen.
constexpr const char* LaggingShow =
    "loadtexture <t> PICTURE 64 64 1\n"
    "makeimage <a> <t> 0 0 1 1\n"
    "makeimage <b> <t> 0 0 1 1\n"
    "loadmusic <m> SONG\n"
    "start\n"
    "playmusic <m>\n"
    "  sizeimage <a> 0.5 +0 0.5 +0 +0\n"
    "  sizeimage <b> 0.5 +0 0.5 +0 +0\n"
    "  moveimage <b> 0.5 +0 0.5 +0 +0\n"
    "  showimage <a> copy +20:000\n"
    "  showimage <b> copy +20:000\n"
    "at 13:000\n"
    "  fadebg 0xff000000 0xffffffff +3:000\n"
    "  spackblurimage <a> 0 30 40 120 +2:000\n"
    "  fadeimage <b> 0xffffffff 0xff0000ff +3:000\n"
    "at 17:000\n"
    "  end\n";

std::vector<uint8_t> pixels(const std::filesystem::path& png) {
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  EXPECT_TRUE(readPng(png.c_str(), rgba, width, height)) << png;
  return rgba;
}

class SectionCapture : public CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    if (IsSkipped()) return;
    const std::vector<uint8_t> scene = write3ds(sampleScene());
    writeFile(dir / "scene.3ds", {scene.begin(), scene.end()});
  }

  void captureBoth(const std::string& script, const std::string& to) {
    std::string text = script;
    const size_t at = text.find("SCENE");
    if (at != std::string::npos) text.replace(at, 5, "\"" + (dir / "scene.3ds").string() + "\"");
    writeShow(text);
    ASSERT_EQ(capture(options("whole", Fps)), 0) << log;
    CaptureOptions section = options("section", Fps);
    section.from = std::to_string(sectionStart());  // milliseconds alone are a time too
    section.to = to;
    ASSERT_EQ(capture(section), 0) << log;
    whole = frameFiles(dir / "whole");
    part = frameFiles(dir / "section");
  }
  // The music time where block 735 begins: the section's --from.
  static uint32_t sectionStart() { return clockAtEndOfBlock(SectionBlock - 1); }
  // The clock reading of the section's frame m.
  static uint32_t clockOfSectionFrame(uint64_t m) {
    return clockAtEndOfBlock(SectionBlock + m * (Rate / Fps) / BlockFrames);
  }

  std::vector<std::filesystem::path> whole, part;
};

TEST_F(SectionCapture, FramesAndSoundAreTheWholeShowsFromTheSectionOn) {
  captureBoth(ClockShow, "16:000");
  ASSERT_FALSE(part.empty());
  ASSERT_GE(whole.size(), FramesBeforeSection + part.size());
  for (size_t m = 0; m < part.size(); ++m)
    ASSERT_EQ(pixels(part[m]), pixels(whole[FramesBeforeSection + m])) << "section frame " << m;
  const WavSound wholeSound = readWav(dir / "whole" / "audio.wav");
  const WavSound partSound = readWav(dir / "section" / "audio.wav");
  const size_t offset = FramesBeforeSection * FrameBytes;
  ASSERT_EQ(partSound.data.size(), part.size() * FrameBytes);
  ASSERT_LE(offset + partSound.data.size(), wholeSound.data.size());
  EXPECT_TRUE(std::equal(partSound.data.begin(), partSound.data.end(), wholeSound.data.begin() + offset))
      << "the section's sound is the whole show's from the same moment";
}

TEST_F(SectionCapture, ToEndsBeforeTheFirstFrameThatWouldShowItsTime) {
  captureBoth(ClockShow, "16:000");
  ASSERT_FALSE(part.empty());
  EXPECT_LT(clockOfSectionFrame(part.size() - 1), 16000u);
  EXPECT_GE(clockOfSectionFrame(part.size()), 16000u);
  EXPECT_NE(log.find("captured " + std::to_string(part.size()) + " frames"), std::string::npos) << log;
}

// The colour at pixel (x, y) of a PNG as 0xRRGGBB.
uint32_t colourAt(const std::filesystem::path& png, uint32_t x, uint32_t y) {
  const std::vector<uint8_t> rgba = pixels(png);
  const size_t at = (size_t{y} * 64 + x) * 4;
  return at + 2 < rgba.size() ? uint32_t{rgba[at]} << 16 | uint32_t{rgba[at + 1]} << 8 | rgba[at + 2] : 0xDEADBEEF;
}

TEST_F(SectionCapture, RandomJumpsAndChangesAfterTheDrawingAreTheExceptions) {
  captureBoth(LaggingShow, "16:500");
  ASSERT_FALSE(part.empty());
  // What the script changes after drawing shows one frame late: the first frame has the value for
  // the section's start where the whole show has the frame before's (the background, which fadebg
  // sets after the clear; image b, faded after its showimage). From the second frame on, both
  // are the whole show's.
  const size_t first = FramesBeforeSection;
  // Image a covers the top left quarter, b the bottom right; (48, 12) shows the background.
  EXPECT_NE(colourAt(part[0], 48, 12), colourAt(whole[first], 48, 12)) << "the background";
  EXPECT_NE(colourAt(part[0], 48, 36), colourAt(whole[first], 48, 36)) << "image b";
  for (size_t m = 1; m < part.size(); ++m) {
    EXPECT_EQ(colourAt(part[m], 48, 12), colourAt(whole[first + m], 48, 12)) << "section frame " << m;
    EXPECT_EQ(colourAt(part[m], 48, 36), colourAt(whole[first + m], 48, 36)) << "section frame " << m;
  }
  // spackblurimage draws its levels from the random sequence where it stands, so its picture is
  // its own until its end restores the level (written after the drawing, it shows a frame later);
  // from then on the frames are the whole show's.
  size_t compared = 0;
  for (size_t m = 1; m < part.size(); ++m) {
    if (clockOfSectionFrame(m - 1) < 15000) continue;
    ASSERT_EQ(pixels(part[m]), pixels(whole[FramesBeforeSection + m])) << "section frame " << m;
    ++compared;
  }
  EXPECT_GT(compared, 10u);
}

}  // namespace
}  // namespace demo::test
