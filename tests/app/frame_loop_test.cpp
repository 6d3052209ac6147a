// The message pump and the frame step: clearing, presenting, counting, Escape, the close box, and
// the report at the end.
#include <gtest/gtest.h>

#include "app/frame_rate_report.h"
#include "app_harness.h"

namespace demo::test {
namespace {

const char* const fadeScript =
    "loadmusic <m> \"song.xm\"\n"
    "start\n"
    "playmusic <m>\n"
    "at 1:000\n"
    "  fadebg 0x00000000 0xff000000 +1:000\n"
    "at 3:000\n"
    "end\n";

TEST(FrameLoop, EachFrameIsClearedWithTheColourTheFrameBeforeComputed) {
  AppHarness h;
  h.recordFrames(250);
  EXPECT_EQ(h.run(fadeScript), 0);
  // Frame 1 runs start (clock 0) and is not cleared; then one frame per 250 ms of music. The fade
  // runs after each clear, so every clear shows the previous frame's colour; the frame of `end`
  // (3000 ms) is cleared but never presented.
  EXPECT_EQ(h.clearColours(), (std::vector<uint32_t>{0, 0, 0, 0, 0x3f000000, 0x7f000000, 0xbf000000, 0xff000000,
                                                      0xff000000, 0xff000000, 0xff000000}));
  EXPECT_EQ(h.device->presentCount(), 11u);
  int clears = 0;
  for (size_t i = 0; i + 1 < h.device->calls.size(); ++i) {
    if (h.device->calls[i].name != "Clear") continue;
    ++clears;
    EXPECT_EQ(h.device->calls[i].toString().substr(0, 12), "Clear(0, 0, ") << "the whole target";
    EXPECT_EQ(h.device->calls[i].args[2], uint64_t{D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER});
    EXPECT_FLOAT_EQ(h.device->calls[i].floatArg(4), 1.0f);
    EXPECT_EQ(h.device->calls[i + 1].toString(), "SetRenderState(139, 2155905152)") << "the ambient level follows";
  }
  EXPECT_EQ(clears, 11);
  EXPECT_EQ(h.app.show().frame.frameCount, 11u);
  EXPECT_EQ(h.host.messageBoxes.back().text, "3.66667 FPS");
  EXPECT_EQ(h.host.messageBoxes.back().caption, "Feierabend");
  EXPECT_EQ(h.host.messageBoxes.back().icon, MessageIcon::Information);
  EXPECT_EQ(h.music.calls.back(), "closeDevice") << "end stopped the music";
  EXPECT_FALSE(h.host.windowOpen());
  EXPECT_EQ(h.layer.device(), nullptr) << "destroying the window released the device";
  EXPECT_EQ(h.host.sleeps.front(), 2000u);
  EXPECT_EQ(h.host.sleeps.size(), 1u + 11u) << "start's wait, then 1 ms after every presented frame";
}

TEST(FrameLoop, BeforeStartFramesArePresentedButNeitherClearedNorTimed) {
  AppHarness h;
  h.recordFrames(100);
  h.host.onIdle = [&h, idle = h.host.onIdle](HeadlessHost& host) {
    idle(host);
    if (h.idlePasses == 4) host.queueKey(KeyEscape);
  };
  EXPECT_EQ(h.run("at 1\n"), 0);
  EXPECT_EQ(h.device->count("Clear"), 0u);
  EXPECT_EQ(h.device->presentCount(), 3u);
  EXPECT_EQ(h.app.show().frame.demoTime, 0u) << "an at above 0 before start never lets the program through";
  EXPECT_EQ(h.app.show().frame.frameCount, 3u);
  EXPECT_EQ(h.host.messageBoxes.back().text, "0.00000 FPS");
}

TEST(FrameLoop, EscapeBeforeStartEndsCleanly) {
  AppHarness h;
  h.host.queueKey(KeyEscape);
  EXPECT_EQ(h.run("loadmusic <m> \"song.xm\"\nstart\nplaymusic <m>\nat 9:000\nend\n", ""), 0);
  EXPECT_FALSE(h.app.tickEnabled());
  EXPECT_EQ(h.music.calls, std::vector<std::string>{"openAudioOutput"}) << "no music to stop";
  EXPECT_EQ(h.host.windowsDestroyed, 1);
  EXPECT_EQ(h.layer.device(), nullptr);
  EXPECT_EQ(h.host.messageBoxes.back().caption, "Feierabend");
  EXPECT_EQ(h.host.cursorChanges, (std::vector<bool>{false, true}));
}

TEST(FrameLoop, EscapeStopsTheMusicAndTheCloseBoxDoesNot) {
  const char* script = "loadmusic <m> \"song.xm\"\nstart\nplaymusic <m>\nat 9:000\nend\n";
  AppHarness escape;
  escape.recordFrames(100);
  escape.host.onIdle = [&escape, idle = escape.host.onIdle](HeadlessHost& host) {
    idle(host);
    if (escape.idlePasses == 3) host.queueKey(KeyEscape);
  };
  EXPECT_EQ(escape.run(script), 0);
  EXPECT_EQ(escape.music.freed.size(), 1u);
  EXPECT_EQ(escape.music.calls.back(), "closeDevice");

  AppHarness close;
  close.recordFrames(100);
  close.host.onIdle = [&close, idle = close.host.onIdle](HeadlessHost& host) {
    idle(host);
    if (close.idlePasses == 3) {
      host.queueKey('A');  // any other key does nothing
      host.queueCloseRequest();
    }
  };
  EXPECT_EQ(close.run(script), 0);
  EXPECT_TRUE(close.app.tickEnabled());
  EXPECT_EQ(close.music.calls.back(), "startModule") << "closing the window does not run end";
  EXPECT_EQ(close.layer.device(), nullptr);
  EXPECT_EQ(close.host.messageBoxes.back().caption, "Feierabend");
}

TEST(FrameLoop, AFailingInstructionEndsTheShowSaysWhyThenGivesTheNormalReport) {
  AppHarness h;
  h.recordFrames(10);
  h.app.setLog(nullptr);
  EXPECT_EQ(h.run("start\nloadtexture <t> \"missing.tga\" 4 4 0\nat 1:000\n"), ExitShowFailed);
  EXPECT_EQ(h.device->presentCount(), 0u);
  ASSERT_EQ(h.host.messageBoxes.size(), 2u);
  EXPECT_EQ(h.host.messageBoxes[0].caption, "Lameralarm!");
  EXPECT_EQ(h.host.messageBoxes[0].text,
            (h.dir / "demo.run").string() +
                ":2: loadtexture \"missing.tga\": not found (neither in the archive nor on disk)");
  EXPECT_EQ(h.host.messageBoxes[1].caption, "Feierabend");
}

// The browser turns the pump from its own frame callback: the same frames, the same end.
TEST(FrameLoop, AnExternalPumpRunsTheSameShowTurnByTurn) {
  AppHarness blocking;
  blocking.recordFrames(250);
  EXPECT_EQ(blocking.run(fadeScript), 0);

  AppHarness turned;
  turned.recordFrames(250);
  turned.app.setExternalPump();
  EXPECT_EQ(turned.run(fadeScript), 0) << "start-up only";
  EXPECT_TRUE(turned.host.messageBoxes.empty()) << "no report before the pump has run";
  EXPECT_TRUE(turned.app.tickEnabled());
  int turns = 0;
  while (turned.app.pumpTurn()) ++turns;
  EXPECT_EQ(turns, 12) << "one frame a turn: the eleven presented and end's, which destroys the window";
  EXPECT_FALSE(turned.app.pumpTurn()) << "a pump that has returned stays returned";
  EXPECT_EQ(turned.app.finish(), 0);

  ASSERT_EQ(turned.device->calls.size(), blocking.device->calls.size());
  for (size_t i = 0; i < turned.device->calls.size(); ++i)
    EXPECT_EQ(turned.device->calls[i].toString(), blocking.device->calls[i].toString()) << "call " << i;
  EXPECT_EQ(turned.host.sleeps, blocking.host.sleeps);
  EXPECT_EQ(turned.music.calls, blocking.music.calls);
  ASSERT_EQ(turned.host.messageBoxes.size(), 1u);
  EXPECT_EQ(turned.host.messageBoxes[0].text, blocking.host.messageBoxes.back().text);
}

TEST(FrameRateReport, FramesPerSecondOfMusicTimeAndNoDivisionByZero) {
  FrameState frame;
  frame.frameCount = 11;
  frame.startTime = 1000;
  frame.demoTime = 4000;
  EXPECT_EQ(frameRateReport(frame), "3.66667 FPS");
  frame.demoTime = 1000;
  EXPECT_EQ(frameRateReport(frame), "0.00000 FPS");
  frame.frameCount = 1234567;
  frame.startTime = 0;
  frame.demoTime = 1;
  EXPECT_EQ(frameRateReport(frame), "1234567000.00000 FPS");
}

}  // namespace
}  // namespace demo::test

namespace demo::test {
namespace {

std::string logged(std::FILE* file) {
  std::rewind(file);
  std::string text;
  for (int c; (c = std::fgetc(file)) != EOF;) text += static_cast<char>(c);
  return text;
}

TEST(FrameLoop, AWindowWarnsOnceOfAnAtWhoseTimeCanNeverComeAndShowsOn) {
  AppHarness h;
  std::FILE* log = std::tmpfile();
  h.app.setLog(log);
  int passes = 0;
  h.host.onIdle = [&passes](HeadlessHost& host) {
    if (++passes == 50) host.queueKey(KeyEscape);
  };
  EXPECT_EQ(h.run("start\nat 5:000\nend\n"), ExitOk) << "Escape ends it as always";
  EXPECT_EQ(logged(log), (h.dir / "demo.run").string() +
                             ":2: warning: at 5:000 waits for a clock that stands still: no music is playing (no "
                             "playmusic has run, or end stopped it); the picture stays as it is until Escape\n");
  std::fclose(log);

  AppHarness playing;
  std::FILE* quiet = std::tmpfile();
  playing.app.setLog(quiet);
  playing.recordFrames(10);
  EXPECT_EQ(playing.run("loadmusic <m> \"x.xm\"\nplaymusic <m>\nstart\nat 0:500\nend\n"), ExitOk);
  EXPECT_EQ(logged(quiet), "") << "a clock that moves is no frozen clock";
  std::fclose(quiet);
}

}  // namespace
}  // namespace demo::test
