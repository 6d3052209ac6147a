// Ctrl-C (SIGINT) or SIGTERM sent to a real capture process: it exits with 128 + the signal, and
// what is left on disk is complete: every frame a whole PNG, audio.wav as long as its header says
// and matching the frames, no temporary files; a video cut short is removed with its parts.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "capture_fixture.h"
#include "support/tool_run.h"

extern char** environ;

namespace demo::test {
namespace {

namespace fs = std::filesystem;

#ifdef DEMO_TOOL

// Starts `demo --capture ARGS` in `folder` (stderr into folder/log.txt); the process id.
pid_t startCapture(const fs::path& folder, const std::string& args, const std::string& path = "/usr/bin:/bin") {
  const std::string command = "cd " + quoted(folder) + " && PATH=" + quoted(fs::path(path)) + " exec " +
                              quoted(fs::path(DEMO_TOOL)) + " --capture " + args + " 2>log.txt";
  const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0) return -1;
  return pid;
}

// Waits until a file whose name begins with `prefix` is in the folder (the capture is under way);
// false after 60 s.
bool waitFor(const fs::path& folder, const std::string& prefix) {
  for (int i = 0; i < 6000; ++i) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
      if (it->path().filename().string().rfind(prefix, 0) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

int exitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

std::vector<fs::path> leftovers(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().filename().string()[0] == '.') found.push_back(entry.path());
  return found;
}

constexpr const char* LongShow = "loadmusic <m> SONG\nplaymusic <m>\nstart\nat 9:59:000\nend\n";

TEST_F(CaptureTest, SigintLeavesCompleteFramesAndTheirSoundAndExits130) {
  writeShow(LongShow);
  const pid_t pid = startCapture(dir.path(), "out --size 64x48");
  ASSERT_GT(pid, 0);
  const bool started = waitFor(dir / "out", "frame_000030.png");
  kill(pid, SIGINT);
  ASSERT_TRUE(started) << "the capture never got going";
  EXPECT_EQ(exitStatus(pid), 130);
  const std::string log = textOf(dir / "log.txt");
  const auto frames = frameFiles(dir / "out");
  EXPECT_NE(log.find("demo: SIGINT: capture stopped after " + std::to_string(frames.size()) + " frames"),
            std::string::npos)
      << log;
  for (const auto& frame : frames) ASSERT_NE(cornerColour(frame), 0xDEADBEEFu) << "a broken frame: " << frame;
  const WavSound sound = readWav(dir / "out" / "audio.wav");
  EXPECT_EQ(sound.declaredBytes, sound.data.size());
  EXPECT_EQ(sound.data.size(), frames.size() * 735 * 4);
  EXPECT_TRUE(leftovers(dir / "out").empty()) << leftovers(dir / "out")[0];
}

TEST_F(CaptureTest, SigtermRemovesAVideoCutShortWithItsPartsAndExits143) {
  writeShow(LongShow);
  writeFakeFfmpeg(dir / "bin", "cat > /dev/null");
  const pid_t pid = startCapture(dir.path(), "out.mp4 --size 64x48", (dir / "bin").string() + ":/usr/bin:/bin");
  ASSERT_GT(pid, 0);
  // The sound's part is written under a temporary name beside the video until the end.
  const bool started = waitFor(dir.path(), ".out.mp4.audio-part.wav.");
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  kill(pid, SIGTERM);
  ASSERT_TRUE(started);
  EXPECT_EQ(exitStatus(pid), 143);
  EXPECT_NE(textOf(dir / "log.txt").find("demo: SIGTERM: capture stopped after"), std::string::npos)
      << textOf(dir / "log.txt");
  EXPECT_FALSE(fs::exists(dir / "out.mp4"));
  EXPECT_FALSE(fs::exists(dir / "out.mp4.video-part.mkv"));
  EXPECT_FALSE(fs::exists(dir / "out.mp4.audio-part.wav"));
  EXPECT_TRUE(leftovers(dir.path()).empty()) << leftovers(dir.path())[0];
}

#endif

}  // namespace
}  // namespace demo::test
