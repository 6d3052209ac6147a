// A section of the show (--from, --to, --loop) on the virtual clock: where the music starts, which
// frames are drawn, when the show ends or goes round, and the command lines the script cannot meet.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/command_line.h"
#include "app_harness.h"

namespace demo::test {
namespace {

// The background fades from black to white between 1 s and 2 s; a label on each second.
const char* const sectionScript =
    "loadmusic <m> \"song.xm\"\n"
    "start\n"
    "playmusic <m>\n"
    "[zero]\n"
    "at 1:000\n"
    "[one]\n"
    "  fadebg 0xff000000 0xffffffff +1:000\n"
    "at 2:000\n"
    "[two]\n"
    "at 3:000\n"
    "end\n";

// The application's log as text.
class LogFile {
 public:
  LogFile() : file_(std::tmpfile()) {}
  ~LogFile() { std::fclose(file_); }
  std::FILE* get() const { return file_; }
  std::string text() const {
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  std::FILE* file_;
};

TEST(Section, FromStartsTheMusicThereWithoutStartsPauseAndCatchesUpInTheFirstFrame) {
  AppHarness h;
  h.recordFrames(250);
  h.app.setSection({"[one]+0:500", "", false});
  EXPECT_EQ(h.run(sectionScript), 0);
  EXPECT_EQ(h.music.calls[2], "startModuleAt 1500");
  EXPECT_EQ(h.host.sleeps.front(), 1u) << "no two-second pause: only the frames' own sleeps";
  // The first frame already runs at 1.5 s: the fade, activated in it, computed its colour for
  // 1.5 s, which the second frame is cleared with (the first was not cleared: start ran in it).
  const std::vector<uint32_t> clears = h.clearColours();
  ASSERT_GE(clears.size(), 2u);
  EXPECT_EQ(clears[0], 0xff7f7f7fu);
  EXPECT_EQ(h.app.show().frame.startTime, 1500u) << "the frame-rate report counts from the section's start";
}

TEST(Section, ToEndsTheShowAsEndDoesBeforeDrawingThatTime) {
  AppHarness h;
  h.recordFrames(250);
  h.app.setSection({"", "[two]", false});
  EXPECT_EQ(h.run(sectionScript), 0);
  // Frames at 0 (start; the clock had already moved on to 500 by the next), 500, ..., 1750; the one
  // reading 2000 is neither drawn nor presented.
  EXPECT_EQ(h.device->presentCount(), 7u);
  EXPECT_EQ(h.app.show().frame.demoTime, 2000u);
  EXPECT_EQ(h.music.calls.back(), "closeDevice") << "the music is stopped as by end";
  EXPECT_FALSE(h.host.windowOpen());
}

TEST(Section, LoopGoesBackToFromEveryTimeTheClockReachesTo) {
  AppHarness h;
  h.recordFrames(250);
  std::vector<uint32_t> frameTimes;
  h.host.onIdle = [&h, &frameTimes, idle = h.host.onIdle](HeadlessHost& host) {
    idle(host);
    frameTimes.push_back(h.app.show().frame.demoTime);
    if (h.idlePasses == 14) host.queueKey(KeyEscape);
  };
  h.app.setSection({"1:000", "1:750", true});
  EXPECT_EQ(h.run(sectionScript), 0);
  int seeks = 0;
  for (const std::string& call : h.music.calls) seeks += call == "startModuleAt 1000";
  EXPECT_EQ(seeks, 4) << "the first start and three rounds";
  // Each round: a fresh show (0 before its first frame), the catch-up frame at 1000, then 1250 and
  // 1500; the frame reading 1750 is not drawn but goes round. (Each idle pass sees the time of the
  // frame drawn before it.)
  ASSERT_GE(frameTimes.size(), 9u);
  EXPECT_EQ(std::vector<uint32_t>(frameTimes.begin(), frameTimes.begin() + 9),
            (std::vector<uint32_t>{0, 1000, 1250, 1500, 0, 1000, 1250, 1500, 0}));
  EXPECT_EQ(h.music.freed.size(), 4u) << "every round's show freed its module";
}

TEST(Section, LoopWithoutToGoesRoundAtTheScriptsEnd) {
  AppHarness h;
  h.recordFrames(500);
  h.host.onIdle = [&h, idle = h.host.onIdle](HeadlessHost& host) {
    idle(host);
    if (h.idlePasses == 12) host.queueKey(KeyEscape);
  };
  h.app.setSection({"[two]", "", true});
  EXPECT_EQ(h.run(sectionScript), 0);
  int seeks = 0;
  for (const std::string& call : h.music.calls) seeks += call == "startModuleAt 2000";
  EXPECT_GE(seeks, 3);
  EXPECT_EQ(h.host.messageBoxes.back().caption, "Feierabend");
}

TEST(Section, FromPastTheEndEndsTheShowAsEndWould) {
  AppHarness h;
  h.recordFrames(250);
  h.app.setSection({"10:000", "", false});
  EXPECT_EQ(h.run(sectionScript), 0);
  EXPECT_EQ(h.device->presentCount(), 0u) << "the catch-up reaches end in the first frame";
  EXPECT_EQ(h.music.calls.back(), "closeDevice");
}

TEST(Section, TimesTheScriptCannotMeetAreRefusedBeforeAnyWindow) {
  struct Case {
    SectionRequest request;
    const char* expected;
  };
  const Case cases[] = {
      {{"[climax]", "", false}, "demo.run: --from [climax]: no label [climax] in the script; its labels: "
                                "[zero] 0:000, [one] 1:000, [two] 2:000\n"},
      {{"2:000", "[one]+0:500", false}, "demo.run: --from 2:000 (2:000) does not come before --to [one]+0:500 "
                                        "(1:500)\n"},
      {{"", "[two]3:000", false}, "demo.run: --to [two]3:000: \"[two]3:000\": a label is followed by nothing or "
                                  "by '+' and a time ([climax]+2:000)\n"},
      {{"1.5", "", false}, "demo.run: --from 1.5: \"1.5\" is not a time: write 42:000, 1:02:500, [label] or "
                           "[label]+2:000\n"},
  };
  for (const Case& c : cases) {
    AppHarness h;
    LogFile log;
    h.app.setLog(log.get());
    h.app.setSection(c.request);
    EXPECT_EQ(h.run(sectionScript), 2);
    const std::string text = log.text();
    EXPECT_EQ(text.substr(text.find("demo.run:")), c.expected);
    EXPECT_EQ(h.host.windowsCreated, 0);
  }
}

TEST(Section, CommandLineOptions) {
  const char* show[] = {"demo", "win", "--from", "[climax]+2:000", "--to=1:02:500", "--loop"};
  const CommandLine line = parseCommandLine(6, show);
  EXPECT_EQ(line.mode, CommandLine::Mode::Show);
  EXPECT_EQ(line.section.from, "[climax]+2:000");
  EXPECT_EQ(line.section.to, "1:02:500");
  EXPECT_TRUE(line.section.loop);
  EXPECT_EQ(line.showText, "win");

  const char* capture[] = {"demo", "--capture", "out", "--from", "42:000", "--to", "[coda]"};
  const CommandLine captured = parseCommandLine(7, capture);
  EXPECT_EQ(captured.mode, CommandLine::Mode::Capture);
  EXPECT_EQ(captured.capture.from, "42:000");
  EXPECT_EQ(captured.capture.to, "[coda]");

  const char* loopedCapture[] = {"demo", "--capture", "out", "--loop"};
  const CommandLine refused = parseCommandLine(4, loopedCapture);
  EXPECT_EQ(refused.mode, CommandLine::Mode::Invalid);
  EXPECT_EQ(refused.error, "--loop goes round forever: a capture needs an end (use --to)");

  const char* check[] = {"demo", "--check", "--from", "1:000"};
  EXPECT_EQ(parseCommandLine(4, check).mode, CommandLine::Mode::Invalid);
  EXPECT_NE(usageText("demo").find("--from WHEN [--to WHEN] [--loop]"), std::string::npos);
}

}  // namespace
}  // namespace demo::test
