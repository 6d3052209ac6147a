// Every error the compiler reports: the report's text, the line, and the description --check prints.
// Also the limits the records and the active table impose, refused instead of overrun.
#include <gtest/gtest.h>

#include <string>

#include "script/command_table.h"
#include "script/compiler.h"
#include "support/show_harness.h"
#include "support/testdata.h"

namespace demo::test {
namespace {

struct ErrorCase {
  const char* script;
  int line;
  const char* errorText;
  const char* detail;  // checked when errorText is empty
};

void expectError(const ErrorCase& c) {
  ShowHarness h;
  EXPECT_FALSE(h.compile(c.script)) << c.script;
  EXPECT_EQ(h.compiler().lineNumber, c.line) << c.script;
  EXPECT_STREQ(h.compiler().errorText, c.errorText) << c.script;
  if (!*c.errorText) {
    EXPECT_EQ(h.compiler().detail, c.detail) << c.script;
  }
  EXPECT_TRUE(h.show.timeline.program().empty()) << "a failed compilation keeps no instruction";
}

TEST(ScriptErrors, NamedErrorsHaveTheirTexts) {
  const ErrorCase cases[] = {
      {"start\n[a]\n[a]\n", 3, "label redefinition", ""},
      {"start\nat [b]+1\n", 2, "undefined label", ""},
      {"showimage <i> add 1\n", 1, "undeclared image", ""},
      {"\n\nplayscene <s> 0 1 1\n", 3, "undeclared scene", ""},
      {"makeimage <i> <t> 0 0 1 1\n", 1, "undeclared texture", ""},
      {"playmusic <m>\n", 1, "undeclared music", ""},
      {"showparticles <p> 1\n", 1, "undefined effect", ""},
      {"show2dblobs <p> 1\n", 1, "undefined effect", ""},
  };
  for (const ErrorCase& c : cases) expectError(c);
}

TEST(ScriptErrors, EverythingElseHasTheEmptyTextAndADescription) {
  const ErrorCase cases[] = {
      {"start\n\nfoo\n", 3, "", "unknown command \"foo\""},
      {"fadebg 1\n", 1, "", "missing number"},
      {"fadebg 1 x 1\n", 1, "", "expected number, found \"x 1\""},
      {"loadmusic <m \"a.xm\"\n", 1, "", "missing '>'"},
      {"loadmusic <m> \"a.xm\n", 1, "", "missing '\"'"},
      {"loadmusic <m> a.xm\n", 1, "", "expected string, found \"a.xm\""},
      {"loadscene <s> \"a.3ds\"\nplayscene <s> 0 @x 1\n", 2, "", "missing number after '@'"},
      {"loadscene <s> \"a.3ds\"\nplayscene <s> 0 1\n", 2, "", "missing time"},
      {"start\nat [x\n", 2, "", "missing ']'"},
      {"[x\n", 1, "", "unknown command \"[x\""},
      {"fadebg 0 1 +1\n", 1, "", "relative time before any start or at"},
  };
  for (const ErrorCase& c : cases) expectError(c);
}

TEST(ScriptErrors, AMissingFileLeavesLineZero) {
  ShowHarness h;
  TempDir dir;
  EXPECT_FALSE(compileScript(h.show, (dir / "nothing.run").c_str()));
  EXPECT_EQ(h.compiler().lineNumber, 0);
}

TEST(ScriptLimits, NamesThatDoNotFitTheirArraysAreRefused) {
  const std::string name31(31, 'n'), name32(32, 'n');
  ShowHarness fits;
  ASSERT_TRUE(fits.compile("loadscene <" + name31 + "> \"a\"\nstart\n[" + name31 + "]\n"));
  EXPECT_STREQ(fits.show.names.scenes.head()->name, name31.c_str());

  const ErrorCase cases[] = {
      {"loadscene <nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn> \"a\"\n", 1, "", "name longer than 31 characters"},
      {"start\n[nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn]\n", 2, "", "label name longer than 31 characters"},
  };
  for (const ErrorCase& c : cases) expectError(c);

  ShowHarness camera;
  camera.show.names.scenes.declareName("s");
  EXPECT_FALSE(camera.compile("selectcam <s> \"" + name32 + "\"\n"));
  EXPECT_EQ(camera.compiler().detail, "camera name longer than 31 characters");
  ShowHarness object;
  object.show.names.scenes.declareName("s");
  object.show.names.effects.declareName("p");
  ASSERT_TRUE(object.compile("partobject <p> <s> \"" + std::string(63, 'o') + "\"\n"));
  EXPECT_FALSE(object.compile("partobject <p> <s> \"" + std::string(64, 'o') + "\"\n"));
  EXPECT_EQ(object.compiler().detail, "object name longer than 63 characters");
}

TEST(ScriptLimits, AThousandInstructionsFitAndOneMoreIsRefused) {
  std::string script;
  for (int i = 0; i < 1000; ++i) script += "fadebg 0 1 2\n";
  ShowHarness fits;
  ASSERT_TRUE(fits.compile(script));
  EXPECT_EQ(fits.show.timeline.program().size(), 1000u);
  expectError({(script + "end\n").c_str(), 1001, "", "more than 1000 instructions"});
}

// One statement of every command, in table order.
const char* const everyCommand =
    "loadtexture <t> \"pic.tga\" 256 256 1\n"
    "loadmusic <m> \"song.xm\"\n"
    "loadscene <s> \"scene.3ds\"\n"
    "makeimage <i> <t> 0 0 1 1\n"
    "makegridimage <g> <t> 64 64\n"
    "makeparticles <p> <i> 500\n"
    "partobject <p> <s> \"Box01\"\n"
    "partpos <p> -1 -1 -1 +2 +2 +2\n"
    "partspd <p> 0 0 0 1 1 1\n"
    "partacc <p> 0 -1 0 0 -1 0\n"
    "partlife <p> 0.01 1 2\n"
    "makeblobs <b>\n"
    "make2dblobs <f> <g>\n"
    "setfarplane <s> 5000\n"
    "selectcam <s> \"Camera01\"\n"
    "start\n"
    "playmusic <m>\n"
    "at 1:000 [one]\n"
    "  playscene <s> 0 @25 +2:000\n"
    "  showimage <i> mixalpha +1:000\n"
    "  fadeimage <i> 0 0xffffffff +1:000\n"
    "  blurimage <i> 0 10 +1:000\n"
    "  spackblurimage <i> 0 20 50 100 +1:000\n"
    "  moveimage <i> 0 1 0 1 +1:000\n"
    "  sizeimage <i> 1 0.5 1 0.5 +1:000\n"
    "  showparticles <p> +1:000\n"
    "  fadebg 0 0xff000000 +1:000\n"
    "  verteximage <i> <s> \"Box01\" +1:000\n"
    "  playblobs <b> <i> +1:000\n"
    "  show2dblobs <f> +1:000\n"
    "  fadesalpha <s> 1 0 +1:000\n"
    "  fadewalpha <s> 0 1 +1:000\n"
    "  showtunnel <s> <g> 0 100 +1:000\n"
    "at [one]+2:000\n"
    "freeimage <i>\n"
    "freetexture <t>\n"
    "end\n";

TEST(ScriptCommands, EveryCommandCompilesWithItsKindCode) {
  ShowHarness h;
  ASSERT_TRUE(h.compile(everyCommand)) << h.compiler().lineNumber << ": " << h.compiler().detail;
  const Program& program = h.show.timeline.program();
  ASSERT_EQ(program.size(), 37u);
  const int32_t kindCodes[] = {7,  4,  5,  9,  31, 17, 19, 20, 21, 22, 23, 27, 30, 26, 3,  1,  40, 2, 6,
                               11, 12, 13, 14, 15, 16, 18, 24, 25, 28, 32, 33, 34, 35, 2,  10, 7,  0};
  for (size_t i = 0; i < program.size(); ++i) EXPECT_EQ(program[i]->kindCode, kindCodes[i]) << "statement " << i;
  EXPECT_EQ(CommandCount, 36);
}

}  // namespace
}  // namespace demo::test
