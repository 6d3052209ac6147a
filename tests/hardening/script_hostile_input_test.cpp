// Script text no editor would write: what the compiler makes of it (the damage sweep only proves
// it survives). Companion cases with ordinary text are in tests/script.

#include <string>

#include <gtest/gtest.h>

#include "script/flow_commands.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

size_t compiled(ShowHarness& h) { return h.show.timeline.program().size(); }

TEST(ScriptHostileLines, AHundredKilobyteLineIsReadInPiecesOf255) {
  // Blanks in every piece but the last, which holds a statement: 100000 = 392 * 255 + 40.
  ShowHarness blanks;
  ASSERT_TRUE(blanks.compile(std::string(99995, ' ') + "start\nend\n"));
  EXPECT_EQ(compiled(blanks), 2u);
  EXPECT_EQ(blanks.compiler().lineNumber, 2) << "all 393 pieces are line 1";
  EXPECT_EQ(blanks.compiler().warnings.size(), 1u);
  // One long word: its first piece is an unknown command, on line 1.
  ShowHarness word;
  EXPECT_FALSE(word.compile(std::string(100000, 'x') + "\n"));
  EXPECT_EQ(word.compiler().lineNumber, 1);
}

TEST(ScriptHostileLines, ANulIsAnErrorNotTheLinesEnd) {
  ShowHarness h;
  EXPECT_FALSE(h.compile(std::string("start\0 anything at all\nend\n", 27)));
  EXPECT_EQ(h.compiler().lineNumber, 1);
  ShowHarness wide;  // UTF-16: a NUL after every character
  EXPECT_FALSE(wide.compile(std::string("s\0t\0a\0r\0t\0\n\0", 12)));
  EXPECT_EQ(wide.compiler().lineNumber, 1);
}

TEST(ScriptHostileLines, CarriageReturnsAloneAreBlanksNotLineEnds) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\rat 1:00\rend\r"));
  EXPECT_EQ(compiled(h), 3u);
  EXPECT_EQ(h.compiler().lineNumber, 1) << "one line";
}

TEST(ScriptHostileLines, TheLastLineNeedsNoLineFeed) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\nat 1:00 end"));
  EXPECT_EQ(compiled(h), 3u);
  EXPECT_EQ(h.compiler().lineNumber, 2);
}

TEST(ScriptHostileTimes, HugeFieldsWrapAsThirtyTwoBitArithmetic) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("at 99999999:99:999\nat 4294967295\n"));
  uint32_t ms = 99999999u * 1000u + 99u;
  ms = 60000u * (ms / 1000u) + 1000u * (ms % 1000u) + 999u;
  EXPECT_EQ(dynamic_cast<AtInstruction&>(*h.show.timeline.program()[0]).time, static_cast<int32_t>(ms));
  EXPECT_EQ(dynamic_cast<AtInstruction&>(*h.show.timeline.program()[1]).time, -1);
}

TEST(ScriptHostileTimes, AnEmptyFieldAfterTheSecondColonIsRefused) {
  ShowHarness h;
  EXPECT_FALSE(h.compile("start\nat 1::\n"));
  EXPECT_EQ(h.compiler().lineNumber, 2);
  EXPECT_EQ(h.compiler().detail, "missing digits after ':'");
}

}  // namespace
}  // namespace demo::test
