// Times, labels and the schedule: what each time form means and when it is refused.
#include <gtest/gtest.h>

#include "script/flow_commands.h"
#include "script/image_timed_commands.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

// The time of the at instruction at `index` of the compiled program.
int32_t atTime(ShowHarness& h, size_t index) {
  auto* at = dynamic_cast<AtInstruction*>(h.show.timeline.program().at(index).get());
  return at ? at->time : -999;
}

TEST(ScriptTimes, FieldsAreMillisecondsSecondsAndMinutes) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("at 700\nat 1:5\nat 1:00\nat 12:700\nat 2:58:00\nat 3:02:00\nat 1:1500:20\n"));
  EXPECT_EQ(atTime(h, 0), 700);
  EXPECT_EQ(atTime(h, 1), 1005) << "the last field counts milliseconds, it is no decimal fraction";
  EXPECT_EQ(atTime(h, 2), 1000);
  EXPECT_EQ(atTime(h, 3), 12700);
  EXPECT_EQ(atTime(h, 4), 178000);
  EXPECT_EQ(atTime(h, 5), 182000);
  // A:B:C is 60000 Q + 1000 R + C with Q, R from (1000 A + B) / 1000: seconds above 999 carry.
  EXPECT_EQ(atTime(h, 6), 2 * 60000 + 500 * 1000 + 20);
}

TEST(ScriptTimes, PlusIsRelativeToTheLastStartOrAt) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\nat +1:00\nat +1:00\nat 10:000\nat +500\n"));
  EXPECT_EQ(atTime(h, 1), 1000);
  EXPECT_EQ(atTime(h, 2), 2000) << "each at moves the schedule";
  EXPECT_EQ(atTime(h, 4), 10500);
  EXPECT_EQ(h.compiler().scheduleTime, 10500);
}

TEST(ScriptTimes, AtTimesNeedNotIncrease) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\nat 20:000\nat 5:000\nat +1:000\n"));
  EXPECT_EQ(atTime(h, 3), 6000);
}

TEST(ScriptTimes, LabelsTakeTheScheduleAndBaseLaterTimes) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\nat 30:000 [part1]\nat [part1]+12:500\n[part2]\nat [part2]+1:000 [part3]\n"
                        "at [part3]+103:00 # comment\n"));
  EXPECT_EQ(h.show.names.labels.findName("part1")->object, 30000);
  EXPECT_EQ(h.show.names.labels.findName("part2")->object, 42500);
  EXPECT_EQ(atTime(h, 4), 43500 + 103000);
}

TEST(ScriptTimes, BlanksOrACommentMaySeparateALabelFromItsPlus) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\n[a]\nat [a]  +2:000\n"));
  EXPECT_EQ(atTime(h, 1), 2000);
  ShowHarness cut;
  EXPECT_FALSE(cut.compile("start\n[a]\nat [a] # +2:000\n")) << "the comment cuts the time off";
  EXPECT_EQ(cut.compiler().detail, "a label in a time needs '+' after it");
}

TEST(ScriptTimes, TimedInstructionsStartAtTheScheduleNotWhenReached) {
  ShowHarness h;
  h.show.names.images.declareName("a");
  ASSERT_TRUE(h.compile("start\nat 10:000 fadeimage <a> 0 0xffffffff +3:00\n"));
  auto* fade = dynamic_cast<FadeImageInstruction*>(h.show.timeline.program().at(2).get());
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->startTime, 10000);
  EXPECT_EQ(fade->endTime, 13000);
}

TEST(ScriptTimes, RefusedForms) {
  const struct {
    const char* script;
    const char* errorText;
    const char* detail;
  } cases[] = {
      {"at +1:00\n", "", "relative time before any start or at"},
      {"start\n[part1]\nat [part1]12:00\n", "", "a label in a time needs '+' after it"},
      {"[early]\nstart\nat [early]+1:00\n", "", "the label has no time: it stands before any start or at"},
      {"start\nat [nowhere]+1:00\n", "undefined label", ""},
      {"start\nat [open+1:00\n", "", "missing ']'"},
      {"start\nat 1:\n", "", "missing digits after ':'"},
      {"start\nat x\n", "", "expected time, found \"x\""},
  };
  for (const auto& c : cases) {
    ShowHarness h;
    EXPECT_FALSE(h.compile(c.script)) << c.script;
    EXPECT_STREQ(h.compiler().errorText, c.errorText) << c.script;
    if (!*c.errorText) {
      EXPECT_EQ(h.compiler().detail, c.detail) << c.script;
    }
  }
}

TEST(ScriptLabels, RedefinitionIsAnErrorAndLabelsAreTheirOwnNameSpace) {
  ShowHarness h;
  h.show.names.images.declareName("intro");
  EXPECT_TRUE(h.compile("start\n[intro]\n")) << "an image of the same name does not clash";
  ShowHarness twice;
  EXPECT_FALSE(twice.compile("start\n[a]\nat 1:00\n[a]\n"));
  EXPECT_STREQ(twice.compiler().errorText, "label redefinition");
  EXPECT_EQ(twice.compiler().lineNumber, 4);
}

TEST(ScriptLabels, NamesMatchExactlyAndMayHoldBlanks) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\n[Part One]\nat [Part One]+1\n"));
  ShowHarness other;
  EXPECT_FALSE(other.compile("start\n[Part]\nat [part]+1\n"));
  EXPECT_STREQ(other.compiler().errorText, "undefined label");
}

}  // namespace
}  // namespace demo::test
