// The one way every program reads its command line: both value forms, refusals that name the word,
// words in order, and the single-dash words the show keeps for itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "cli/option_table.h"
#include "cli/program.h"

namespace demo::test {
namespace {

using ::testing::ElementsAre;

struct Parsed {
  bool ok;
  std::string error;
  std::vector<std::string> words;
};

struct Settings {
  bool verbose = false;
  std::string output;
  int fps = 0;
  std::string check = "(none)";
};

cli::OptionTable tableFor(Settings& s) {
  cli::OptionTable table;
  table.flag("--verbose", s.verbose)
      .text("--output", s.output)
      .alias("-o")
      .value("--fps",
             [&s](const std::string& value, std::string& error) {
               if (value.find_first_not_of("0123456789") != std::string::npos) {
                 error = "needs a whole number";
                 return false;
               }
               s.fps = std::stoi(value);
               return true;
             })
      .optionalValue("--check", [&s](const char* value, std::string&) {
        s.check = value ? value : "";
        return true;
      });
  return table;
}

Parsed parse(const cli::OptionTable& table, std::vector<const char*> args) {
  args.insert(args.begin(), "prog");
  Parsed p;
  p.ok = table.parse(static_cast<int>(args.size()), args.data(), p.words, p.error);
  return p;
}

TEST(OptionTable, ValuesComeEitherAsTheNextWordOrAfterAnEqualsSign) {
  Settings s;
  const Parsed p = parse(tableFor(s), {"in", "--fps", "30", "--output=out.mp4", "win", "--verbose"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_EQ(s.fps, 30);
  EXPECT_EQ(s.output, "out.mp4");
  EXPECT_TRUE(s.verbose);
  EXPECT_THAT(p.words, ElementsAre("in", "win"));

  Settings t;
  ASSERT_TRUE(parse(tableFor(t), {"--fps=24", "-o", "x"}).ok);
  EXPECT_EQ(t.fps, 24);
  EXPECT_EQ(t.output, "x");
}

TEST(OptionTable, RefusesUnknownOptionsMissingValuesAndOptionsWhereAValueBelongs) {
  const struct {
    std::vector<const char*> args;
    const char* error;
  } cases[] = {
      {{"--bogus"}, "unknown option --bogus"},
      {{"--second", "1"}, "unknown option --second"},
      {{"--bogus=3"}, "unknown option --bogus"},
      {{"-x"}, "unknown option -x"},
      {{"--fps"}, "--fps needs a value"},
      {{"--fps="}, "--fps needs a value"},
      {{"--output", "--fps", "3"}, "--output needs a value, not the option --fps"},
      {{"--verbose=yes"}, "--verbose takes no value"},
      {{"--fps", "3x"}, "--fps 3x: needs a whole number"},
      {{"--fps=-1"}, "--fps -1: needs a whole number"},
  };
  for (const auto& c : cases) {
    Settings s;
    const Parsed p = parse(tableFor(s), c.args);
    EXPECT_FALSE(p.ok) << c.args[0];
    EXPECT_EQ(p.error, c.error);
  }
}

TEST(OptionTable, AnOptionalValueIsTakenOnlyWhenItIsNoOption) {
  Settings a, b, c, d;
  EXPECT_TRUE(parse(tableFor(a), {"--check", "show.run"}).ok);
  EXPECT_EQ(a.check, "show.run");
  EXPECT_TRUE(parse(tableFor(b), {"--check", "--verbose"}).ok);
  EXPECT_EQ(b.check, "");
  EXPECT_TRUE(b.verbose);
  EXPECT_TRUE(parse(tableFor(c), {"--check=other.run"}).ok);
  EXPECT_EQ(c.check, "other.run");
  EXPECT_TRUE(parse(tableFor(d), {"--check"}).ok);
  EXPECT_EQ(d.check, "");
}

TEST(OptionTable, DoubleDashEndsTheOptionsAndSingleDashWordsCanBePlain) {
  Settings s;
  Parsed p = parse(tableFor(s), {"--", "--verbose", "-o"});
  ASSERT_TRUE(p.ok);
  EXPECT_FALSE(s.verbose);
  EXPECT_THAT(p.words, ElementsAre("--verbose", "-o"));

  Settings t;
  cli::OptionTable show = tableFor(t);
  show.singleDashWordsArePlain();
  p = parse(show, {"-window", "/win", "-", "-o", "x"});
  ASSERT_TRUE(p.ok) << p.error;
  EXPECT_THAT(p.words, ElementsAre("-window", "/win", "-"));
  EXPECT_EQ(t.output, "x");
  EXPECT_FALSE(parse(show, {"--window"}).ok);
}

TEST(Program, TheNameIsTheOneTheUserCalledAndTheVersionTextIsShared) {
  EXPECT_EQ(cli::programName("/usr/local/bin/showcase", "demo"), "showcase");
  EXPECT_EQ(cli::programName("C:\\shows\\myshow.EXE", "demo"), "myshow");
  EXPECT_EQ(cli::programName("", "demo"), "demo");
  EXPECT_EQ(cli::programName(nullptr, "xmrender"), "xmrender");
  EXPECT_EQ(cli::versionText("showcase"),
            std::string("showcase ") + DEMO_VERSION + " (demo engine, GPL-2.0-or-later)\n");
}

TEST(Program, HelpAndVersionAreFoundAnywhereBeforeTheEndOfOptions) {
  const char* help[] = {"demo", "--capture", "out", "-h"};
  const char* late[] = {"demo", "--", "--help"};
  const char* version[] = {"demo", "--bogus", "--version"};
  EXPECT_TRUE(cli::asksForHelp(4, help));
  EXPECT_FALSE(cli::asksForHelp(3, late));
  EXPECT_TRUE(cli::asksForVersion(3, version));
  EXPECT_FALSE(cli::asksForVersion(4, help));
}

}  // namespace
}  // namespace demo::test
