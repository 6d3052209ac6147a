// The timeline against a scripted clock: how the program is stepped, what is activated when, the
// order active instructions run in, and how the show ends.
#include <gtest/gtest.h>

#include <memory>

#include "script/flow_commands.h"
#include "support/show_harness.h"
#include "fakes.h"

namespace demo::test {
namespace {

Image* addImage(ShowHarness& h, const char* name, std::vector<std::string>* log = nullptr) {
  ImageEntry* entry = h.show.names.images.declareName(name);
  entry->object = h.show.objects.keep(std::make_unique<FakeImage>(name, log));
  return entry->object;
}

int activeInstructions(const Timeline& timeline) {
  int count = 0;
  for (int32_t slot = 0; slot < timeline.activeCount; ++slot) count += timeline.activeTable[slot] != nullptr;
  return count;
}

TEST(TimelineStart, LoadingRunsInTheFirstStepAndStartTakesTheClockAfterTwoSeconds) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("loadmusic <m> \"song.xm\"\nstart\nplaymusic <m>\nat 1:000\nend\n"));
  h.music.time = 777;
  h.show.frame.frameCount = 55;
  EXPECT_EQ(h.frame(0), StepResult::Continue);
  EXPECT_EQ(h.host.sleeps, std::vector<uint32_t>{2000});
  EXPECT_TRUE(h.show.frame.showStarted);
  EXPECT_EQ(h.show.frame.startTime, 0u) << "no music played yet when start read the clock";
  EXPECT_EQ(h.show.frame.frameCount, 0u);
  EXPECT_EQ(h.show.timeline.programCounter, 3) << "held by the at";
  EXPECT_NE(h.show.timeline.currentMusic, nullptr);
  EXPECT_EQ(h.show.readClock(), 777u) << "the clock is the playing music's";
}

TEST(TimelineStep, AnAtAlreadyPassedLetsThroughAndASlowFrameActivatesEveryBlockDue) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\nat 1:000\n fadebg 0 0xff +1:000\nat 2:000\n fadebg 0 0xff00 +1:000\n"
                        "at 5:000\nend\n"));
  EXPECT_EQ(h.frame(0), StepResult::Continue);
  EXPECT_EQ(h.show.timeline.activeCount, 0);
  EXPECT_EQ(h.frame(2500), StepResult::Continue);
  EXPECT_EQ(h.show.timeline.activeCount, 2);
  EXPECT_EQ(h.show.timeline.activeTable[0], nullptr) << "the first fade was over on arrival: it ran once";
  // The second fade interpolates from its own at (2000), as if activated on time: t = 512.
  EXPECT_EQ(h.show.frame.backgroundColor, 0x00007f00u);
  EXPECT_EQ(h.frame(4999), StepResult::Continue);
  EXPECT_EQ(h.frame(5000), StepResult::Stop);
}

TEST(TimelineStep, AnInstructionOverOnArrivalWritesItsEndValueOnce) {
  ShowHarness h;
  std::vector<std::string> drawn;
  Image* image = addImage(h, "a", &drawn);
  ASSERT_TRUE(h.compile("start\nat 2:000\nsizeimage <a> 0.75 0.75 1 1 +0\nshowimage <a> add 1:000\nat 9:000\n"));
  h.frame(0);
  h.frame(2000);
  EXPECT_FLOAT_EQ(image->width, 0.75f);
  EXPECT_FLOAT_EQ(image->height, 1.0f);
  EXPECT_TRUE(drawn.empty()) << "a showimage whose end has passed draws nothing";
  EXPECT_EQ(activeInstructions(h.show.timeline), 0);
  EXPECT_EQ(h.device().count("BeginScene"), 0u);
}

TEST(TimelineOrder, ActiveInstructionsRunAndDrawInScriptOrder) {
  ShowHarness h;
  std::vector<std::string> drawn;
  addImage(h, "a", &drawn);
  addImage(h, "b", &drawn);
  ASSERT_TRUE(h.compile("start\nfadeimage <a> 0 0xffffffff 1:000\nshowimage <b> add 10:000\nshowimage <a> copy 10:000\n"
                        "fadeimage <b> 0 0xffffffff 1:000\nat 9:000\n"));
  h.frame(0);  // start: its frame sees the clock start took, 0 here
  drawn.clear();
  h.frame(500);
  // a's fade stands before its showimage: applied in the same frame. b's stands after: b is drawn with
  // the colour of the frame before.
  EXPECT_EQ(drawn, (std::vector<std::string>{"b 00000000", "a 7f7f7f7f"}));
  h.frame(750);
  EXPECT_EQ(drawn[2], "b 7f7f7f7f");
  EXPECT_EQ(drawn[3], "a bfbfbfbf");
  EXPECT_EQ(h.device().count("BeginScene"), 3u) << "one scene per frame however many draw";
}

TEST(TimelineEnd, EndStopsTheMusicAndAbandonsItsFrame) {
  ShowHarness h;
  std::vector<std::string> drawn;
  addImage(h, "a", &drawn);
  ASSERT_TRUE(h.compile("loadmusic <m> \"song.xm\"\nstart\nplaymusic <m>\nshowimage <a> add 10:000\nat 1:000\nend\n"));
  EXPECT_EQ(h.frame(0), StepResult::Continue);
  EXPECT_EQ(drawn.size(), 1u);
  EXPECT_EQ(h.frame(1000), StepResult::Stop);
  EXPECT_EQ(drawn.size(), 1u) << "the active instructions do not run in end's frame";
  EXPECT_EQ(h.music.calls.back(), "closeDevice");
  ASSERT_EQ(h.music.freed.size(), 1u);
  EXPECT_EQ(h.show.timeline.currentMusic, nullptr);
  EXPECT_EQ(h.show.names.music.findName("m")->object, nullptr) << "the freed module is not handed out again";
  EXPECT_EQ(h.show.readClock(), 0u);
}

TEST(TimelineEnd, RunningPastTheLastInstructionEndsTheShowLikeEnd) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("loadmusic <m> \"song.xm\"\nstart\nplaymusic <m>\n"));
  EXPECT_EQ(h.frame(0), StepResult::Stop);
  EXPECT_EQ(h.music.freed.size(), 1u);
  ShowHarness empty;
  ASSERT_TRUE(empty.compile("# nothing\n"));
  EXPECT_EQ(empty.frame(0), StepResult::Stop);
}

TEST(TimelineEnd, WithoutMusicTheEndOperationDoesNothing) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("end\n"));
  EXPECT_EQ(h.frame(0), StepResult::Stop);
  EXPECT_TRUE(h.music.calls.empty());
}

TEST(TimelineMusic, LoadingAndPlayingFailuresStopTheShow) {
  ShowHarness cannotLoad;
  cannotLoad.music.canLoad = false;
  ASSERT_TRUE(cannotLoad.compile("loadmusic <m> \"song.xm\"\nat 1\n"));
  EXPECT_EQ(cannotLoad.frame(0), StepResult::Stop);
  ShowHarness nothingLoaded;
  nothingLoaded.show.names.music.declareName("m");
  ASSERT_TRUE(nothingLoaded.compile("playmusic <m>\nat 1\n"));
  EXPECT_EQ(nothingLoaded.frame(0), StepResult::Stop);
}

}  // namespace
}  // namespace demo::test
