// demo --check: the report on stdout or stderr and the exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/script_check.h"
#include "support/testdata.h"
#include "writers/3ds_writer.h"
#include "writers/tga_writer.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

std::string contents(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, file)) text += buffer;
  return text;
}

struct CheckResult {
  int code;
  std::string out, err;
};

// DIR in the script stands for the test's folder.
CheckResult check(const TempDir& dir, std::string script, bool files = false) {
  for (size_t at = script.find("DIR"); at != std::string::npos; at = script.find("DIR"))
    script.replace(at, 3, dir.path().string());
  const std::string path = (dir / "show.run").string();
  writeFile(path, std::vector<unsigned char>(script.begin(), script.end()));
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  CheckResult result{checkScript(path.c_str(), out, err, files), contents(out), contents(err)};
  std::fclose(out);
  std::fclose(err);
  return result;
}

TEST(ScriptCheck, ReportsTheCountsOfAGoodScript) {
  TempDir dir;
  const CheckResult r = check(dir, "start\n[a]\nat [a]+1:000 [b]\nfadebg 0 1 +1\nend\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, (dir / "show.run").string() + ": 4 instructions, 2 labels\n");
  EXPECT_EQ(r.err, "");
}

TEST(ScriptCheck, NamesFileLineAndWhatWasWrong) {
  TempDir dir;
  const std::string file = (dir / "show.run").string();
  const struct {
    const char* script;
    std::string expected;
  } cases[] = {
      {"start\n\nfoo\n", file + ":3: unknown command \"foo\"\n"},
      {"start\nshowimage <x> add 1\n", file + ":2: undeclared image\n"},
      {"start\nat 1:00\n  fadebg 0 1\n", file + ":3: missing time\n"},
      {"loadmusic <m \"a.xm\"\n", file + ":1: missing '>'\n"},
      {"start\n[a]\n[a]\n", file + ":3: label redefinition\n"},
  };
  for (const auto& c : cases) {
    const CheckResult r = check(dir, c.script);
    EXPECT_EQ(r.code, -6) << c.script;
    EXPECT_EQ(r.err, c.expected);
    EXPECT_EQ(r.out, "");
  }
}

TEST(ScriptCheck, AMissingScriptFailsLikeStartUp) {
  TempDir dir;
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const std::string path = (dir / "absent.run").string();
  EXPECT_EQ(checkScript(path.c_str(), out, err), -6);
  EXPECT_EQ(contents(err), path + ": cannot be opened: not found (neither in the archive nor on disk)\n");
  std::fclose(out);
  std::fclose(err);
}

TEST(ScriptCheck, WarnsOfALongLineAtItsOwnNumberAndStillPasses) {
  TempDir dir;
  const CheckResult r = check(dir, "start\n" + std::string(300, ' ') + "\nend\n");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, (dir / "show.run").string() +
                       ":2: warning: line longer than 255 characters: the rest is read as a line of its own\n");
  EXPECT_EQ(r.out, (dir / "show.run").string() + ": 2 instructions, 0 labels\n");
}

void writeGoodFiles(const TempDir& dir) {
  const std::vector<uint8_t> picture = writeTga(TgaLayout{}, 2, 1, {0xFF000000, 0xFFFFFFFF});
  writeFile(dir / "good.tga", {picture.begin(), picture.end()});
  XmSong song;
  song.addPattern(4);
  saveXm(dir / "good.xm", song);
  Mesh3ds mesh;
  mesh.name = "Box01";
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.faces = {{0, 1, 2}};
  Scene3ds scene;
  scene.meshes.push_back(mesh);
  std::vector<uint8_t> bytes = write3ds(scene);
  writeFile(dir / "good.3ds", bytes);
  // The last bytes lost, the main chunk's length mended: the chunks inside still claim them.
  ASSERT_LT(bytes.size(), 256u);
  bytes.resize(bytes.size() - 2);
  bytes[2] = static_cast<uint8_t>(bytes.size());
  writeFile(dir / "cut.3ds", bytes);
}

TEST(ScriptCheckFiles, LoadsEveryFileAsTheShowWouldAndReportsEachFailureAtItsLine) {
  TempDir dir;
  writeGoodFiles(dir);
  writeFile(dir / "text.xm", {'h', 'i'});
  writeFile(dir / "short.tga", {0, 0});
  const std::string script =
      "loadtexture <a> \"DIR/good.tga\" 4 4 0\n"
      "loadtexture <b> \"DIR/short.tga\" 4 4 0\n"
      "loadmusic <m> \"DIR/good.xm\" loadmusic <n> \"DIR/text.xm\"\n"
      "loadscene <s> \"DIR/absent.3ds\"\n"
      "loadscene <t> \"DIR/cut.3ds\" loadscene <u> \"DIR/good.3ds\"\n"
      "makegridimage <g> <a> 0 4\n"
      "start\nend\n";
  const CheckResult compileOnly = check(dir, script);
  EXPECT_EQ(compileOnly.code, 0) << compileOnly.err;
  const CheckResult r = check(dir, script, true);
  const std::string file = (dir / "show.run").string(), d = dir.path().string();
  EXPECT_EQ(r.code, -3);
  EXPECT_EQ(r.err, file + ":2: loadtexture \"" + d + "/short.tga\": file shorter than the 18-byte header\n" + file +
                       ":3: loadmusic \"" + d +
                       "/text.xm\": not an XM module (it does not begin with \"Extended Module: \")\n" + file +
                       ":4: loadscene \"" + d + "/absent.3ds\": not found (neither in the archive nor on disk)\n" +
                       file + ":5: loadscene \"" + d +
                       "/cut.3ds\": chunk 0x3D3D at offset 16: its length 148 runs to 164, beyond the end of its "
                       "parent at 162\n" +
                       file + ":6: makegridimage <g> <a> 0 4: a grid needs 1 to 32767 columns and rows\n");
  EXPECT_EQ(r.out, "");
}

TEST(ScriptCheckFiles, SaysSoWhenEveryFileLoads) {
  TempDir dir;
  writeGoodFiles(dir);
  const CheckResult r =
      check(dir,
            "loadtexture <a> \"DIR/good.tga\" 4 4 0\nloadmusic <m> \"DIR/good.xm\"\n"
            "loadscene <s> \"DIR/good.3ds\"\nend\n",
            true);
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, (dir / "show.run").string() + ": 4 instructions, 0 labels, every file loads\n");
}

}  // namespace
}  // namespace demo::test
