// Times written on the command line (--from, --to) with the compiled script's labels, and times
// written back for titles and messages.
#include <gtest/gtest.h>

#include "script/show_time.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

constexpr const char* Labels =
    "[early]\n"  // before start: no time
    "start\n"
    "[intro]\n"
    "at 7:313\n"
    "[modes]\n"
    "at 41:971\n"
    "[climax]\n"
    "[also]\n"  // the same time as climax
    "at 1:11:145\n"
    "[depths]\n";

uint32_t timeOf(ShowHarness& h, const std::string& text) {
  uint32_t ms = 0xDEADBEEF;
  std::string error;
  EXPECT_TRUE(parseShowTime(text, h.show.names.labels, ms, error)) << text << ": " << error;
  return ms;
}

std::string refusal(ShowHarness& h, const std::string& text) {
  uint32_t ms = 0;
  std::string error;
  EXPECT_FALSE(parseShowTime(text, h.show.names.labels, ms, error)) << text;
  return error;
}

TEST(ShowTime, WrittenAsInTheScriptOrAsALabelWithOrWithoutAnOffset) {
  ShowHarness h;
  ASSERT_TRUE(h.compile(Labels));
  EXPECT_EQ(timeOf(h, "42:000"), 42000u);
  EXPECT_EQ(timeOf(h, "1:02:500"), 62500u);
  EXPECT_EQ(timeOf(h, "1500"), 1500u);
  EXPECT_EQ(timeOf(h, "1:5"), 1005u) << "the last field counts milliseconds, as in the script";
  EXPECT_EQ(timeOf(h, "[climax]"), 41971u);
  EXPECT_EQ(timeOf(h, "[climax]+2:000"), 43971u);
  EXPECT_EQ(timeOf(h, "[depths]+1:00:001"), 71145u + 60001u);
  EXPECT_EQ(timeOf(h, "[intro]"), 0u);
}

TEST(ShowTime, RefusalsSayWhatIsWrong) {
  ShowHarness h;
  ASSERT_TRUE(h.compile(Labels));
  EXPECT_EQ(refusal(h, "[climx]+1:000"), "no label [climx] in the script; its labels: [intro] 0:000, "
                                          "[modes] 7:313, [climax] 41:971, [also] 41:971, [depths] 1:11:145");
  EXPECT_EQ(refusal(h, "[early]"), "[early] has no time: it stands before any start or at in the script");
  EXPECT_EQ(refusal(h, "[climax]2:000"),
            "\"[climax]2:000\": a label is followed by nothing or by '+' and a time ([climax]+2:000)");
  EXPECT_EQ(refusal(h, "[climax"), "\"[climax\": missing ']' after the label");
  for (const char* text : {"", "+1:000", "1:", "1:000x", "-5", "1.5", "[climax]+"})
    EXPECT_NE(refusal(h, text).find("is not a time"), std::string::npos) << text;
}

TEST(ShowTime, ALabelLineOfAScriptWithoutLabelsSaysSo) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\n"));
  EXPECT_EQ(labelLine(h.show.names.labels), "none");
}

TEST(ShowTime, FormattedAsTheScriptWritesIt) {
  EXPECT_EQ(formatShowTime(0), "0:000");
  EXPECT_EQ(formatShowTime(41971), "41:971");
  EXPECT_EQ(formatShowTime(59999), "59:999");
  EXPECT_EQ(formatShowTime(60000), "1:00:000");
  EXPECT_EQ(formatShowTime(71145), "1:11:145");
  ShowHarness h;
  ASSERT_TRUE(h.compile("start\n"));
  for (uint32_t ms : {0u, 999u, 60000u, 3599999u, 3600000u}) EXPECT_EQ(timeOf(h, formatShowTime(ms)), ms);
}

TEST(ShowTime, LabelsAroundATime) {
  ShowHarness h;
  ASSERT_TRUE(h.compile(Labels));
  const auto& labels = h.show.names.labels;
  const auto name = [](const NameEntry<int32_t>* entry) { return entry ? std::string(entry->name) : "-"; };
  EXPECT_EQ(name(labelAt(labels, 0)), "intro");
  EXPECT_EQ(name(labelAt(labels, 7312)), "intro");
  EXPECT_EQ(name(labelAt(labels, 7313)), "modes");
  EXPECT_EQ(name(labelAt(labels, 50000)), "also") << "of two at one time, the later defined is in force";
  EXPECT_EQ(name(labelAfter(labels, 7313)), "climax");
  EXPECT_EQ(name(labelAfter(labels, 71145)), "-");
  EXPECT_EQ(name(labelBefore(labels, 7313)), "intro");
  EXPECT_EQ(name(labelBefore(labels, 7314)), "modes");
  EXPECT_EQ(name(labelBefore(labels, 0)), "-");
}

}  // namespace
}  // namespace demo::test
