// demo's command line: every option in both forms, refusals with status 2 that name the word, and
// the program named as the user called it.
#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"

namespace demo::test {
namespace {

CommandLine parse(std::vector<const char*> words, const char* program = "demo") {
  words.insert(words.begin(), program);
  return parseCommandLine(static_cast<int>(words.size()), words.data());
}

TEST(DemoCommandLine, EveryOptionTakesItsValueEitherWay) {
  const CommandLine spaced = parse({"--capture", "out", "--fps", "30", "--seconds", "2", "--size", "64x48"});
  const CommandLine joined = parse({"--capture=out", "--fps=30", "--seconds=2", "--size=64x48"});
  for (const CommandLine& line : {spaced, joined}) {
    ASSERT_EQ(line.mode, CommandLine::Mode::Capture) << line.error;
    EXPECT_EQ(line.capture.output, "out");
    EXPECT_EQ(line.capture.fps, 30u);
    EXPECT_EQ(line.capture.frameLimit(), 60u);
    EXPECT_EQ(line.capture.width, 64u);
  }
  const CommandLine check = parse({"--check=other.run", "--files", "--verbose"});
  EXPECT_EQ(check.mode, CommandLine::Mode::Check);
  EXPECT_EQ(check.script, "other.run");
  EXPECT_TRUE(check.checkFiles);
  EXPECT_TRUE(check.verbose);
  EXPECT_EQ(parse({"--check", "--files"}).script, "demo.run");
  EXPECT_EQ(parse({"--check", "--files", "other.run"}).script, "other.run") << "the script after the options";
}

TEST(DemoCommandLine, RefusesWhatItDoesNotKnowOrCannotDoNamingIt) {
  const struct {
    std::vector<const char*> words;
    const char* error;
  } cases[] = {
      {{"--second", "1"}, "unknown option --second"},
      {{"--bogus"}, "unknown option --bogus"},
      {{"win", "--windowed"}, "unknown option --windowed"},
      {{"--capture", "--fps", "30"}, "--capture needs a value, not the option --fps"},
      {{"--capture=--fps"}, "--capture --fps: needs a folder or a .mp4, .mkv or .webm file name"},
      {{"--check", "--capture", "x"}, "give only one of --check and --capture"},
      {{"--files"}, "--files goes with --check"},
      {{"--check="}, "--check=: needs a script name"},
      {{"--check", "a.run", "b.run"}, "--check reads one script: \"b.run\" is one word too many"},
      {{"--check", "--files", "a.run", "b.run"}, "--check reads one script: \"b.run\" is one word too many"},
      {{"--no-dialogs=yes"}, "--no-dialogs takes no value"},
      {{"--capture", "x.mp4", "--size", "641x480"}, "--size 641x480: a video needs an even width and height"},
      {{"--fps", "30"}, "--fps, --seconds and --size go with --capture OUT"},
  };
  for (const auto& c : cases) {
    const CommandLine line = parse(c.words);
    EXPECT_EQ(line.mode, CommandLine::Mode::Invalid) << c.words[0];
    EXPECT_EQ(line.error, c.error);
  }
  // An odd size is fine for a folder of frames.
  EXPECT_EQ(parse({"--capture", "frames", "--size", "641x481"}).mode, CommandLine::Mode::Capture);
}

TEST(DemoCommandLine, HelpAndVersionWinAndTheProgramIsNamedAsCalled) {
  const CommandLine help = parse({"--bogus", "--help"}, "/opt/shows/showcase");
  EXPECT_EQ(help.mode, CommandLine::Mode::Help);
  EXPECT_EQ(help.program, "showcase");
  EXPECT_EQ(usageText(help.program).rfind("usage: showcase [win]\n", 0), 0u) << usageText(help.program);
  EXPECT_EQ(usageText(help.program).find("demo --"), std::string::npos);
  EXPECT_EQ(parse({"--capture", "x", "--version"}).mode, CommandLine::Mode::Version);
}

}  // namespace
}  // namespace demo::test
