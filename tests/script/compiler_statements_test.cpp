// Statements: keywords, blend modes, numbers, names, strings, comments and how lines are read.
#include <gtest/gtest.h>

#include <string>

#include "script/background_command.h"
#include "script/flow_commands.h"
#include "script/image_commands.h"
#include "script/image_timed_commands.h"
#include "script/particle_commands.h"
#include "script/scene_commands.h"
#include "script/texture_commands.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

template <class T>
T* instructionAt(ShowHarness& h, size_t index) {
  const Program& program = h.show.timeline.program();
  return index < program.size() ? dynamic_cast<T*>(program[index].get()) : nullptr;
}

TEST(ScriptKeywords, MatchIgnoringCaseAndNeedNoSeparator) {
  ShowHarness h;
  h.show.names.images.declareName("a");
  ASSERT_TRUE(h.compile("START\nStart\nstart [part0]\nat[part0]+0\n"
                        "at10:000 fadeimage <a> 0xffffffff 0x00ffffff +1:00\n"
                        "   showimage <a> add +2:00\n"));
  ASSERT_EQ(h.show.timeline.program().size(), 7u);
  EXPECT_NE(instructionAt<StartInstruction>(h, 0), nullptr);
  EXPECT_NE(instructionAt<StartInstruction>(h, 1), nullptr);
  ASSERT_NE(instructionAt<AtInstruction>(h, 3), nullptr);
  ASSERT_NE(instructionAt<AtInstruction>(h, 4), nullptr);
  EXPECT_EQ(instructionAt<FadeImageInstruction>(h, 5)->startTime, 10000);
  EXPECT_EQ(instructionAt<ShowImageInstruction>(h, 6)->endTime, 12000) << "an indented line continues after the at";
}

TEST(ScriptKeywords, AKeywordFollowedByMoreTextIsTwoStatements) {
  ShowHarness h;
  EXPECT_FALSE(h.compile("startx\n"));
  EXPECT_STREQ(h.compiler().errorText, "");
  EXPECT_EQ(h.compiler().detail, "unknown command \"x\"");
}

TEST(ScriptKeywords, SeveralStatementsAndLabelsShareALine) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("start at 1:000 [a] at [a]+1:000 fadebg 0 1 +1 end # the rest is ignored: start\n"));
  EXPECT_EQ(h.show.timeline.program().size(), 5u);
}

TEST(ScriptBlendModes, KeywordsMapToModesLongestFirst) {
  const struct {
    const char* keyword;
    int32_t mode;
  } cases[] = {{"copy", 0},      {"add", 1},       {"addalpha", 2}, {"ADDALPHA", 2}, {"addcolor", 3},
               {"copyalpha", 4}, {"copycolor", 5}, {"mixalpha", 6}, {"MixColor", 7}};
  for (const auto& c : cases) {
    ShowHarness h;
    h.show.names.images.declareName("i");
    ASSERT_TRUE(h.compile(std::string("showimage <i> ") + c.keyword + " 5:00\n")) << c.keyword;
    EXPECT_EQ(instructionAt<ShowImageInstruction>(h, 0)->blendMode, c.mode) << c.keyword;
  }
}

TEST(ScriptBlendModes, TheKeywordNeedsNoSeparatorSoTrailingLettersBreakTheTime) {
  ShowHarness h;
  h.show.names.images.declareName("i");
  EXPECT_FALSE(h.compile("showimage <i> addalphax 5:00\n"));
  EXPECT_EQ(h.compiler().detail, "expected time, found \"x 5:00\"");
  ShowHarness bad;
  bad.show.names.images.declareName("i");
  EXPECT_FALSE(bad.compile("showimage <i> blend 5:00\n"));
  EXPECT_EQ(bad.compiler().detail, "expected blend mode, found \"blend 5:00\"");
}

TEST(ScriptNumbers, HexDecimalAndSaturation) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("fadebg 0x00ffffff 010 1\nfadebg -1 99999999999 1\nfadebg 0XfF +7 1\n"));
  auto* first = instructionAt<FadeBgInstruction>(h, 0);
  EXPECT_EQ(first->fromColour, 16777215u);
  EXPECT_EQ(first->toColour, 10u) << "a leading zero does not mean octal";
  auto* second = instructionAt<FadeBgInstruction>(h, 1);
  EXPECT_EQ(second->fromColour, 0xFFFFFFFFu) << "strtoul negates modulo 2^32";
  EXPECT_EQ(second->toColour, 0xFFFFFFFFu) << "strtoul saturates at the 32-bit limit";
  auto* third = instructionAt<FadeBgInstruction>(h, 2);
  EXPECT_EQ(third->fromColour, 255u);
  EXPECT_EQ(third->toColour, 7u) << "without a relative index '+' is the sign";
}

TEST(ScriptNumbers, SignedValuesSaturateAtTheInt32Limits) {
  ShowHarness h;
  h.show.names.scenes.declareName("s");
  ASSERT_TRUE(h.compile("start\nplayscene <s> 99999999999 -99999999999 +1:000\n"));
  auto* play = instructionAt<PlaySceneInstruction>(h, 1);
  EXPECT_EQ(play->startFrame, INT32_MAX);
  EXPECT_FLOAT_EQ(play->speed, static_cast<float>(static_cast<int32_t>(0x80000000u - 0x7FFFFFFFu)) / 1000.0f)
      << "the frame difference wraps as a 32-bit integer";
  ShowHarness hex;
  hex.show.names.scenes.declareName("s");
  EXPECT_FALSE(hex.compile("start\nplayscene <s> -0x10 1 +1\n"))
      << "'-0x10' is decimal: -0, then 'x10' fails the next argument";
}

TEST(ScriptNumbers, RelativeArgumentsAddToAnEarlierOne) {
  ShowHarness h;
  h.show.names.images.declareName("a");
  h.show.names.textures.declareName("t");
  ASSERT_TRUE(h.compile("start\nmoveimage <a> 1.0 +-4.0 0.85 0.85 +25:000\n"
                        "makeimage <r> <t> 0 0.5 1 +0.25\n"
                        "makeparticles <p> <a> 10\npartpos <p> 1 2 3 +1 +1 +1\npartspd <p> -5 -5 -5 5 5 5\n"));
  auto* move = instructionAt<ImageFloatsInstruction>(h, 1);
  EXPECT_FLOAT_EQ(move->toA, -3.0f);
  EXPECT_FLOAT_EQ(move->fromB, 0.85f);
  auto* make = instructionAt<MakeImageInstruction>(h, 2);
  EXPECT_FLOAT_EQ(make->v1, 0.75f);
  EXPECT_FLOAT_EQ(make->u1, 1.0f);
  auto* pos = instructionAt<ParticleBoxInstruction>(h, 4);
  EXPECT_EQ(pos->kindCode, 20);
  EXPECT_FLOAT_EQ(pos->minimum[2], 3.0f);
  EXPECT_FLOAT_EQ(pos->maximum[0], 2.0f);
  EXPECT_FLOAT_EQ(pos->maximum[2], 4.0f);
  auto* spd = instructionAt<ParticleBoxInstruction>(h, 5);
  EXPECT_FLOAT_EQ(spd->minimum[0], -5.0f);
  EXPECT_FLOAT_EQ(spd->maximum[1], 5.0f);
}

TEST(ScriptNames, MustBeDeclaredEarlierInTheFile) {
  ShowHarness h;
  EXPECT_FALSE(h.compile("loadtexture <t> \"a.tga\" 256 256 0\nshowimage <i> add 5:00\n"
                         "makeimage <i> <t> 0 0 1 1\n"));
  EXPECT_STREQ(h.compiler().errorText, "undeclared image");
  EXPECT_EQ(h.compiler().lineNumber, 2);
}

TEST(ScriptNames, DeclaringTwiceYieldsTheSameEntryAndPlayblobsDeclares) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("loadtexture <t> \"a.tga\" 1 1 0\nloadtexture <t> \"b.tga\" 1 1 1\n"
                        "makeimage <img> <t> 0 0 1 1\nplayblobs <new> <img> 1:000\n"));
  EXPECT_EQ(h.show.names.textures.size(), 1u);
  EXPECT_NE(h.show.names.effects.findName("new"), nullptr);
  auto* second = instructionAt<LoadTextureInstruction>(h, 1);
  EXPECT_EQ(second->texture, h.show.names.textures.findName("t"));
  EXPECT_EQ(second->alphaFlag, 1);
}

TEST(ScriptStrings, NamesAndStringsKeepBlanksAndHashes) {
  ShowHarness h;
  ASSERT_TRUE(h.compile("loadtexture <my #1> \"dir\\pic #2.tga\" 64 32 7 # a comment\n"));
  auto* load = instructionAt<LoadTextureInstruction>(h, 0);
  ASSERT_NE(load, nullptr);
  EXPECT_STREQ(load->texture->name, "my #1");
  EXPECT_STREQ(load->fileName, "dir\\pic #2.tga");
  EXPECT_EQ(load->width, 64);
  EXPECT_EQ(load->height, 32);
  EXPECT_EQ(load->alphaFlag, 1);
}

TEST(ScriptLines, ALongLineIsReadAs255CharactersAndTheRestButKeepsItsNumber) {
  // 255 characters, then "foo" and padding: the second piece is compiled on its own, on line 1.
  const std::string line = "start" + std::string(250, ' ') + "  foo" + std::string(40, ' ');
  ASSERT_EQ(line.size(), 300u);
  ShowHarness h;
  EXPECT_FALSE(h.compile(line + "\nend\n"));
  EXPECT_EQ(h.compiler().lineNumber, 1);
  EXPECT_EQ(h.compiler().detail, "unknown command \"foo\"");
  ASSERT_EQ(h.compiler().warnings.size(), 1u);
  EXPECT_EQ(h.compiler().warnings[0].line, 1);
  EXPECT_EQ(h.compiler().warnings[0].text,
            "line longer than 255 characters: the rest is read as a line of its own");

  const std::string statements = "start" + std::string(250, ' ') + "end" + std::string(42, ' ');
  ShowHarness ok;
  ASSERT_TRUE(ok.compile("\n" + statements + "\nstart\n"));
  EXPECT_EQ(ok.show.timeline.program().size(), 3u);
  EXPECT_EQ(ok.compiler().lineNumber, 3) << "the following lines keep their numbers";
  ASSERT_EQ(ok.compiler().warnings.size(), 1u);
  EXPECT_EQ(ok.compiler().warnings[0].line, 2);

  // The cut falls inside "end": the error is in the first piece, and the warning explains it.
  ShowHarness split;
  EXPECT_FALSE(split.compile("start" + std::string(249, ' ') + "end\n"));
  EXPECT_EQ(split.compiler().detail, "unknown command \"e\"");
  EXPECT_EQ(split.compiler().warnings.size(), 1u);
}

TEST(ScriptLines, ALineOfExactly255CharactersIsNoLongLine) {
  for (const char* end : {"\n", "\r\n"}) {
    ShowHarness h;
    ASSERT_TRUE(h.compile("start" + std::string(247, ' ') + "end" + end + "foo\n") == false);
    EXPECT_EQ(h.compiler().lineNumber, 2) << "foo is on line 2";
    EXPECT_TRUE(h.compiler().warnings.empty());
  }
}

TEST(ScriptLines, AByteOrderMarkIsSkippedAndANulIsAnErrorAtItsLine) {
  ShowHarness bom;
  ASSERT_TRUE(bom.compile("\xEF\xBB\xBFstart\nend\n"));
  EXPECT_EQ(bom.show.timeline.program().size(), 2u);
  ShowHarness late;
  EXPECT_FALSE(late.compile("start\n\xEF\xBB\xBF end\n")) << "only at the very start";

  ShowHarness nul;
  EXPECT_FALSE(nul.compile(std::string("start\nend\0 anything\nstart\n", 24)));
  EXPECT_EQ(nul.compiler().lineNumber, 2);
  EXPECT_EQ(nul.compiler().detail, "NUL byte in the line (is the script saved as UTF-16?)");
}

TEST(ScriptLines, CrLfAndControlBlanksCompileLikeLf) {
  ShowHarness lf, crlf;
  ASSERT_TRUE(lf.compile("start\nat 1:00\n\tfadebg 0 1 +1:00\nend\n"));
  ASSERT_TRUE(crlf.compile("start\r\nat 1:00\r\n\tfadebg\v0 1 +1:00\r\nend\r\n"));
  EXPECT_EQ(crlf.show.timeline.program().size(), lf.show.timeline.program().size());
  EXPECT_EQ(crlf.compiler().lineNumber, lf.compiler().lineNumber);
  ShowHarness high;
  EXPECT_FALSE(high.compile("\xA0start\n")) << "bytes above 127 are not blanks";
}

TEST(ScriptLines, ACommentMayFollowTheLastArgumentButNotReplaceOne) {
  ShowHarness h;
  h.show.names.images.declareName("a");
  ASSERT_TRUE(h.compile("showimage <a> addalpha 5:00 # later\n"));
  ShowHarness missing;
  missing.show.names.images.declareName("a");
  EXPECT_FALSE(missing.compile("showimage <a> addalpha # later\n"));
  EXPECT_STREQ(missing.compiler().errorText, "");
  EXPECT_EQ(missing.compiler().detail, "missing time");
}

TEST(ScriptLines, AnEmptyScriptCompilesToNothing) {
  ShowHarness h;
  ASSERT_TRUE(h.compile(""));
  EXPECT_TRUE(h.show.timeline.program().empty());
  EXPECT_EQ(h.compiler().lineNumber, 0);
}

}  // namespace
}  // namespace demo::test
