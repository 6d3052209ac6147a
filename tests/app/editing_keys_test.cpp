// The window's editing keys on the virtual clock: what each seeks to, pause, the loop between labels,
// and the title bar.
#include <gtest/gtest.h>

#include <map>

#include "app_harness.h"

namespace demo::test {
namespace {

const char* const labelledScript =
    "loadmusic <m> \"song.xm\"\n"
    "start\n"
    "playmusic <m>\n"
    "[a]\n"
    "at 10:000\n"
    "[b]\n"
    "at 20:000\n"
    "[c]\n"
    "at 30:000\n"
    "end\n";

// Runs the labelled script with the clock moving 100 ms an idle pass (one pass a frame, and one more
// after each key), pressing keys in the given passes and Escape after the last; records the time of
// the frame drawn before each pass, the titles and the seeks. A key pressed in pass p acts on the
// time times[p - 1].
struct KeyRun {
  explicit KeyRun(std::map<int, int> keys, int passes = 0) {
    h.recordFrames(100);
    int last = passes;
    // A seek shows up once the fresh show has run its first frame.
    for (const auto& [pass, key] : keys) last = std::max(last, pass + 5);
    h.host.onIdle = [this, keys, last, idle = h.host.onIdle](HeadlessHost& host) {
      idle(host);
      times.push_back(h.app.show().frame.demoTime);
      titles.push_back(host.title);
      if (const auto key = keys.find(h.idlePasses); key != keys.end()) host.queueKey(key->second);
      if (h.idlePasses == last) host.queueKey(KeyEscape);
    };
    status = h.run(labelledScript);
    for (const std::string& call : h.music.calls)
      if (call.rfind("startModuleAt ", 0) == 0) seeks.push_back(std::stoul(call.substr(14)));
  }
  AppHarness h;
  int status = -1;
  std::vector<uint32_t> times;
  std::vector<std::string> titles;
  std::vector<uint32_t> seeks;
};

TEST(EditingKeys, LeftAndRightSeekFiveSecondsFromTheTimeShown) {
  KeyRun run({{30, KeyRight}, {40, KeyLeft}, {45, KeyLeft}});
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.seeks.size(), 3u);
  EXPECT_EQ(run.seeks[0], run.times[29] + 5000);
  EXPECT_EQ(run.seeks[1], run.times[39] - 5000);
  EXPECT_EQ(run.seeks[2], 0u) << "never before the start";
}

TEST(EditingKeys, PageDownAndPageUpGoToTheLabelsAndHomeToTheStart) {
  KeyRun run({{5, KeyPageDown}, {10, KeyPageDown}, {15, KeyPageDown}, {20, KeyPageUp}, {40, KeyPageUp},
              {45, KeyPageUp}, {50, KeyHome}});
  ASSERT_EQ(run.seeks.size(), 6u) << "Page Down after the last label does nothing";
  EXPECT_EQ(run.seeks[0], 10000u);
  EXPECT_EQ(run.seeks[1], 20000u);
  // Shortly after [c]: Page Up goes to the label before it; 2 s after [b], to [b] itself.
  EXPECT_EQ(run.seeks[2], 10000u);
  EXPECT_EQ(run.seeks[3], 10000u);
  EXPECT_EQ(run.seeks[4], 0u);
  EXPECT_EQ(run.seeks[5], 0u);
}

TEST(EditingKeys, SpacePausesTheClockAndTheSoundAndResumesFromThere) {
  KeyRun run({{20, KeySpace}, {30, KeySpace}}, 40);
  // The clock stands where it was when Space went down, a pass after the last frame drawn.
  const uint32_t held = run.times[21];
  EXPECT_EQ(held, run.times[19] + 100);
  for (int pass = 22; pass < 30; ++pass) EXPECT_EQ(run.times[pass], held) << "pass " << pass;
  EXPECT_EQ(run.times[31], held + 100) << "the clock goes on from where it stood";
  EXPECT_EQ(run.times[32], held + 200);
  EXPECT_NE(run.titles[25].find("  paused"), std::string::npos) << run.titles[25];
  EXPECT_EQ(run.titles[35].find("paused"), std::string::npos) << run.titles[35];
  EXPECT_EQ(std::count(run.h.music.calls.begin(), run.h.music.calls.end(), "pause"), 1);
  EXPECT_EQ(std::count(run.h.music.calls.begin(), run.h.music.calls.end(), "resume"), 1);
}

TEST(EditingKeys, APauseOutlivesASeek) {
  KeyRun run({{20, KeySpace}, {22, KeyPageDown}}, 30);
  ASSERT_EQ(run.seeks.size(), 1u);
  // The fresh show's first frame starts the music at 10 s and the pump pauses it again at once.
  for (int pass = 25; pass < 30; ++pass) EXPECT_EQ(run.times[pass], run.times[24]) << "pass " << pass;
  EXPECT_LE(run.times[24], 10100u);
  EXPECT_TRUE(run.h.music.isPaused);
  EXPECT_NE(run.titles[28].find("[b]  paused"), std::string::npos) << run.titles[28];
}

TEST(EditingKeys, LLoopsBetweenTheLabelsAroundNowUntilPressedAgain) {
  // From pass 3 on the clock reads 10:000 + 100 ms a pass: L at 12 s loops [b] to [c].
  KeyRun run({{2, KeyPageDown}, {23, KeyL}, {260, KeyL}}, 280);
  ASSERT_GE(run.seeks.size(), 3u);
  EXPECT_EQ(run.seeks[0], 10000u);
  EXPECT_EQ(run.seeks[1], 10000u) << "the first round turned at 20:000";
  EXPECT_EQ(run.seeks[2], 10000u);
  EXPECT_NE(run.titles[30].find("loop [b] to 20:000"), std::string::npos) << run.titles[30];
  EXPECT_EQ(run.titles[275].find("loop"), std::string::npos) << "L again: off";
  for (uint32_t time : run.times) EXPECT_LT(time, 20000u + 100 * 20) << "no frame long past the loop's end";
}

TEST(EditingKeys, TheTitleShowsTheMusicTimeInTenthsAndTheLabel) {
  KeyRun run({{3, KeyPageDown}}, 20);
  EXPECT_EQ(run.titles[1], "Demo  0:000  [a]");
  for (size_t pass = 8; pass < 12; ++pass)
    EXPECT_EQ(run.titles[pass], "Demo  " + std::to_string(run.times[pass] / 1000) + ":" +
                                    std::to_string(run.times[pass] % 1000 / 100) + "00  [b]");
}

}  // namespace
}  // namespace demo::test
