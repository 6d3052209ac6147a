// What all the programs share: a wrong command line is status 2 and names the word, options take
// "--opt VALUE" and "--opt=VALUE", the program calls itself by the name it was started under, and a
// failed write never destroys the OUT that was there.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/square_tune.h"
#include "support/testdata.h"
#include "support/tool_run.h"
#include "writers/tga_writer.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

const std::string xmrender = quoted(XMRENDER_TOOL);
const std::string tga2png = quoted(TGA2PNG_TOOL);
const std::string demoTool = quoted(DEMO_TOOL);
const std::string demoPack = quoted(DEMO_PACK_TOOL);
const std::string sceneinfo = quoted(SCENEINFO_TOOL);

// Writing more than a few kilobytes fails as on a full disk ("File too large"); the shell ignores
// the signal such a write raises, and so does the tool it starts.
std::string withSmallDisk(const std::string& command) {
  return "sh -c \"trap '' XFSZ; ulimit -f 8; exec " + command + "\"";
}

// 128 x 128 pixels of noise: its PNG is far larger than the small disk.
void writeNoise(const fs::path& path) {
  std::vector<uint32_t> pixels;
  uint32_t state = 1;
  for (int i = 0; i < 128 * 128; ++i) pixels.push_back(0xFF000000u | ((state = state * 214013 + 2531011) >> 8));
  const std::vector<uint8_t> tga = writeTga(TgaLayout{}, 128, 128, pixels);
  writeFile(path, {tga.begin(), tga.end()});
}

std::string text(const fs::path& path) {
  const auto bytes = readFile(path);
  return {bytes.begin(), bytes.end()};
}

struct FailureCase {
  std::string command;
  const char* says;
};

// Each command fails with status 1 and its reason, and the folder keeps its `files` files as they
// were: OUT holds "old", no temporary file is left.
void expectFailuresKeepTheOldOutput(const std::vector<FailureCase>& cases, const fs::path& out, size_t files);

size_t entries(const fs::path& folder) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

void expectFailuresKeepTheOldOutput(const std::vector<FailureCase>& cases, const fs::path& out, size_t files) {
  for (const auto& c : cases) {
    const ToolRun run = runTool(c.command);
    EXPECT_EQ(run.status, 1) << c.command << "\n" << run.output;
    EXPECT_THAT(run.output, HasSubstr(c.says));
    EXPECT_THAT(run.output, Not(HasSubstr("(status")));
    EXPECT_EQ(text(out), "old");
    EXPECT_EQ(entries(out.parent_path()), files) << "a temporary file was left";
  }
}

TEST(EveryTool, AWrongCommandLineIsStatus2AndNamesTheWord) {
  const struct {
    std::string command;
    const char* says;
  } cases[] = {
      {xmrender, "no input file"},
      {xmrender + " a.xm b.wav --bogus", "unknown option --bogus"},
      {xmrender + " a.xm b.wav --seconds", "--seconds needs a value"},
      {xmrender + " a.xm b.wav --seconds=0", "--seconds 0: needs a number"},
      {xmrender + " a.xm b.wav c", "too many arguments: c"},
      {tga2png + " a.tga", "needs IN.tga and OUT.png"},
      {tga2png + " a.tga b.png --size=3", "--size 3: needs WxH"},
      {tga2png + " a.tga b.png -s", "unknown option -s"},
      {demoTool + " --second 1", "unknown option --second"},
      {demoTool + " --check --capture x", "give only one of --check and --capture"},
      {demoTool + " --capture x.mp4 --size 641x480", "a video needs an even width and height"},
      {demoPack + " --bogus", "unknown option --bogus"},
      {demoPack + " --list", "--list needs a value"},
      {sceneinfo + " --json a.3ds", "unknown option --json"},
  };
  for (const auto& c : cases) {
    const ToolRun run = runTool(c.command);
    EXPECT_EQ(run.status, 2) << c.command << "\n" << run.output;
    EXPECT_THAT(run.output, HasSubstr(c.says)) << c.command;
    EXPECT_THAT(run.output, HasSubstr("--help shows the usage")) << c.command;
  }
}

TEST(EveryTool, HelpAndVersionNameTheProgramAsItWasCalled) {
  TempDir dir;
  fs::create_symlink(DEMO_TOOL, dir / "myshow");
  const ToolRun help = runTool(quoted(dir / "myshow") + " --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output.rfind("usage: myshow [win]\n", 0), 0u) << help.output;
  EXPECT_THAT(help.output, Not(HasSubstr("demo --")));
  const std::string version = std::string(" ") + DEMO_VERSION + " (demo engine, GPL-2.0-or-later)\n";
  EXPECT_EQ(runTool(quoted(dir / "myshow") + " --version").output, "myshow" + version);
  EXPECT_EQ(runTool(xmrender + " --version").output, "xmrender" + version);
  EXPECT_EQ(runTool(tga2png + " --version").output, "tga2png" + version);
  EXPECT_EQ(runTool(demoPack + " --version").output, "demo-pack" + version);
  EXPECT_EQ(runTool(sceneinfo + " --version").output, "sceneinfo" + version);
}

TEST(Xmrender, RendersWithEitherOptionFormIntoACompleteFile) {
  TempDir dir;
  saveXm(dir / "song.xm", squareTune());
  const ToolRun run = runTool(xmrender + " " + quoted(dir / "song.xm") + " --seconds=0.5 " + quoted(dir / "out.wav"));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(fs::file_size(dir / "out.wav"), 44u + 22050 * 4);
  EXPECT_EQ(entries(dir.path()), 2u) << "a temporary file was left";
}

TEST(Xmrender, AFailureKeepsTheOldOutputAndSaysWhy) {
  TempDir dir;
  saveXm(dir / "song.xm", squareTune());
  writeFile(dir / "out.wav", {'o', 'l', 'd'});
  writeFile(dir / "text.xm", {'h', 'i'});
  const std::string out = " " + quoted(dir / "out.wav");
  // The message names OUT, not the temporary file the samples went to.
  const std::string fullDisk = (dir / "out.wav").string() + ": cannot write: File too large";
  expectFailuresKeepTheOldOutput(
      {
          {xmrender + " " + quoted(dir / "absent.xm") + out,
           "absent.xm: not found (neither in the archive nor on disk)"},
          {xmrender + " " + quoted(dir / "text.xm") + out, "text.xm: not an XM module"},
          {withSmallDisk(xmrender + " " + quoted(dir / "song.xm") + out + " --seconds 1"), fullDisk.c_str()},
      },
      dir / "out.wav", 3);
}

TEST(Tga2png, AFailureKeepsTheOldOutputAndSaysWhy) {
  TempDir dir;
  writeNoise(dir / "noise.tga");
  writeFile(dir / "out.png", {'o', 'l', 'd'});
  writeFile(dir / "short.tga", {0, 0, 2, 0});
  const std::string out = " " + quoted(dir / "out.png");
  expectFailuresKeepTheOldOutput(
      {
          {tga2png + " " + quoted(dir / "absent.tga") + out,
           "absent.tga: not found (neither in the archive nor on disk)"},
          {tga2png + " " + quoted(dir / "short.tga") + out, "short.tga: file shorter than the 18-byte header"},
          {withSmallDisk(tga2png + " " + quoted(dir / "noise.tga") + out), "File too large"},
      },
      dir / "out.png", 3);
  const ToolRun good = runTool(tga2png + " --size=64x32 " + quoted(dir / "noise.tga") + " " + quoted(dir / "out.png"));
  EXPECT_EQ(good.status, 0) << good.output;
  EXPECT_NE(text(dir / "out.png"), "old");
}

TEST(PackedShow, ADamagedScriptMemberIsReportedAsDamagedNotMissing) {
  TempDir dir;
  const std::string script = "start\nend\n";
  fs::create_directories(dir / "show");
  writeFile(dir / "show" / "demo.run", {script.begin(), script.end()});
  const ToolRun pack = runTool(demoPack + " --store -o " + quoted(dir / "packed") + " --exe " + demoTool + " " +
                               quoted(dir / "show"));
  ASSERT_EQ(pack.status, 0) << pack.output;
  std::vector<unsigned char> bytes = readFile(dir / "packed");
  bytes[readFile(DEMO_TOOL).size() + 2] ^= 0x20;  // inside the stored script: its CRC no longer matches
  writeFile(dir / "packed", bytes);
  fs::permissions(dir / "packed", fs::perms::owner_all);
  fs::create_directories(dir / "empty");

  const ToolRun check = runTool("cd " + quoted(dir / "empty") + " && " + quoted(dir / "packed") + " --check");
  EXPECT_EQ(check.status, 250);
  EXPECT_EQ(check.output, "demo.run: cannot be opened: damaged archive member (262)\n");
  const ToolRun show = runTool("cd " + quoted(dir / "empty") + " && " + quoted(dir / "packed") + " --no-dialogs");
  EXPECT_EQ(show.status, 250);
  EXPECT_THAT(show.output, HasSubstr("demo.run: cannot be opened: damaged archive member (262)"));
  EXPECT_THAT(show.output, HasSubstr("Lameralarm!: Script is nich da")) << "the box keeps its text";
}

TEST(PackedShow, FindsItsMembersBySlashedNamesAndReadsThemBeforeLooseFiles) {
  TempDir dir;
  const std::string script = "loadtexture <t> \"tex/logo.tga\" 4 4 0\nloadmusic <m> \"song.xm\"\nstart\nend\n";
  fs::create_directories(dir / "show" / "tex");
  fs::create_directories(dir / "elsewhere" / "tex");
  writeFile(dir / "show" / "demo.run", {script.begin(), script.end()});
  writeNoise(dir / "show" / "tex" / "logo.tga");
  saveXm(dir / "show" / "song.xm", squareTune());
  const ToolRun pack =
      runTool(demoPack + " -o " + quoted(dir / "packed") + " --exe " + demoTool + " " + quoted(dir / "show"));
  ASSERT_EQ(pack.status, 0) << pack.output;

  // Elsewhere, with damaged loose copies of both files in the way: the members are what the show loads.
  writeFile(dir / "elsewhere" / "tex" / "logo.tga", {0, 0});
  writeFile(dir / "elsewhere" / "song.xm", {'h', 'i'});
  const ToolRun check =
      runTool("cd " + quoted(dir / "elsewhere") + " && " + quoted(dir / "packed") + " --check --files");
  EXPECT_EQ(check.status, 0) << check.output;
  EXPECT_EQ(check.output, "demo.run: 4 instructions, 0 labels, every file loads\n");

  // The same loose files for the bare engine: each problem at its line.
  const std::string bare = "cd " + quoted(dir / "elsewhere") + " && cp " + quoted(dir / "show" / "demo.run") + " . && ";
  const ToolRun unpacked = runTool(bare + demoTool + " --check --files");
  EXPECT_EQ(unpacked.status, 253) << unpacked.output;
  EXPECT_THAT(unpacked.output, HasSubstr("demo.run:1: loadtexture \"tex/logo.tga\": file shorter than the 18-byte"));
  EXPECT_THAT(unpacked.output, HasSubstr("demo.run:2: loadmusic \"song.xm\": not an XM module"));
}

}  // namespace
}  // namespace demo::test
