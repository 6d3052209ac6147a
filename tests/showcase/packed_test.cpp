// The single-file showcase: the engine with the show appended, run where no loose file exists.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "capture/capture_fixture.h"
#include "gfx/png_file.h"

namespace demo::test {
namespace {

// The command's exit status and what it printed on stdout.
int run(const std::string& command, std::string& out) {
  std::FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  out.clear();
  for (int c; (c = std::fgetc(pipe)) != EOF;) out += static_cast<char>(c);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

bool uniform(const std::filesystem::path& png) {
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  if (!readPng(png.c_str(), rgba, width, height)) return true;
  for (size_t i = 4; i < rgba.size(); ++i)
    if (rgba[i] != rgba[i % 4]) return false;
  return true;
}

using PackedShowcase = CaptureTest;

TEST_F(PackedShowcase, PlaysFromAnEmptyFolderWithEverythingItNeedsInside) {
  std::string out;
  const int status = run("cd " + quoted(dir.path()) + " && " + quoted(SHOWCASE_EXE) +
                             " --capture out --fps 5 --seconds 4 --size 64x48 2>&1",
                         out);
  ASSERT_EQ(status, 0) << out;
  const auto frames = frameFiles(dir / "out");
  ASSERT_EQ(frames.size(), 20u);
  // Pictures: the dusk fades in once start's two seconds have passed.
  EXPECT_FALSE(uniform(frames.back())) << "the last frame shows no picture: " << frames.back();
  // Sound: silent through the pause, the tune after it.
  const WavSound sound = readWav(dir / "out" / "audio.wav");
  ASSERT_EQ(sound.data.size(), 4u * Rate * 4);
  const auto loud = [&](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      if (sound.data[i] != 0) return true;
    return false;
  };
  EXPECT_FALSE(loud(0, 2 * Rate * 4 - BlockFrames * 4)) << "sound during the pause";
  EXPECT_TRUE(loud(3 * Rate * 4, 4 * Rate * 4)) << "the tune was not found in the archive";
}

TEST(PackedShowcaseArchive, HoldsTheScriptTheTuneAndThePicturesAndVerifies) {
  std::string listing;
  ASSERT_EQ(run(quoted(DEMO_PACK_EXE) + " --list " + quoted(SHOWCASE_EXE), listing), 0) << listing;
  for (const char* member : {"demo.run", "showcase.xm", "sky.tga", "labels.tga", "grid.tga"})
    EXPECT_NE(listing.find(member), std::string::npos) << member << " missing from\n" << listing;
  std::string verify;
  EXPECT_EQ(run(quoted(DEMO_PACK_EXE) + " --verify " + quoted(SHOWCASE_EXE) + " 2>&1", verify), 0) << verify;
}

}  // namespace
}  // namespace demo::test
