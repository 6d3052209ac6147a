// demo-pack: which files become which members, and the tool as a user runs it.

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "demo_pack/pack_inputs.h"
#include "demo_pack/pack_writer.h"
#include "support/testdata.h"
#include "support/tool_run.h"

namespace demo::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

void writeText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  writeFile(path, {text.begin(), text.end()});
}

std::string readText(const fs::path& path) {
  const auto bytes = readFile(path);
  return {bytes.begin(), bytes.end()};
}

ToolRun run(const std::string& command) { return runTool(command); }

const std::string tool = DEMO_PACK_TOOL;
// An executable of the engine: it reads its own archive.
const std::string engine = READ_OWN_MEMBER_TOOL;

TEST(PackInputs, FolderFilesAreNamedRelativeWithBackslashesAndFilesByTheirName) {
  TempDir dir;
  writeText(dir / "show" / "demo.run", "start");
  writeText(dir / "show" / "tex" / "b.tga", "b");
  writeText(dir / "show" / "tex" / "a.tga", "a");
  writeText(dir / "extra" / "song.xm", "xm");
  const auto inputs = collectInputs({dir / "show", dir / "extra" / "song.xm"});
  std::vector<std::string> names;
  for (const PackInput& input : inputs) names.push_back(input.name);
  EXPECT_THAT(names, ::testing::ElementsAre("demo.run", "tex\\a.tga", "tex\\b.tga", "song.xm"));
  EXPECT_THROW(collectInputs({dir / "missing"}), std::runtime_error);
}

TEST(PackInputs, NamesTheLookupCannotTellApartAreRefused) {
  TempDir dir;
  writeText(dir / "one" / "Demo.run", "a");
  writeText(dir / "two" / "DEMO.RUN", "b");
  try {
    collectInputs({dir / "one", dir / "two"});
    FAIL() << "duplicate accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_THAT(error.what(), HasSubstr((dir / "two" / "DEMO.RUN").string()));
  }
}

TEST(PackMember, CompressesOnlyWhenThatSavesSpace) {
  std::vector<uint8_t> noise(4096);
  uint32_t state = 1;
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>((state = state * 214013 + 2531011) >> 16);
  const PackedMember stored = packMember("noise", noise, PackMethod::Best);
  EXPECT_EQ(stored.flags, ArchiveStored);
  EXPECT_EQ(stored.stored, noise);
  const std::vector<uint8_t> zeros(4096, 0);
  const PackedMember compressed = packMember("zeros", zeros, PackMethod::Best);
  EXPECT_EQ(compressed.flags, ArchiveCompressed);
  EXPECT_LT(compressed.stored.size(), 100u);
  EXPECT_EQ(compressed.crc, crc32(zeros.data(), zeros.size()));
  EXPECT_EQ(packMember("zeros", zeros, PackMethod::Store).flags, ArchiveStored);
}

TEST(DemoPackTool, APackedProgramFindsItsMembersFromAnyWorkingFolder) {
  TempDir dir;
  writeText(dir / "show" / "demo.run", "at 0:01:000 end\n");
  writeText(dir / "show" / "tex" / "logo.tga", std::string(5000, 'L'));
  const std::string out = (dir / "packed").string();
  const ToolRun pack = run(tool + " -o " + out + " --exe " + READ_OWN_MEMBER_TOOL + " " + (dir / "show").string());
  ASSERT_EQ(pack.status, 0) << pack.output;

  fs::create_directories(dir / "elsewhere");
  const ToolRun script = run("cd " + (dir / "elsewhere").string() + " && " + out + " DEMO.RUN");
  EXPECT_EQ(script.status, 0);
  EXPECT_EQ(script.output, "at 0:01:000 end\n");
  EXPECT_EQ(run(out + " tex\\\\logo.tga").output, std::string(5000, 'L'));

  const ToolRun list = run(tool + " --list " + out);
  EXPECT_EQ(list.status, 0);
  EXPECT_THAT(list.output, HasSubstr("stored"));  // the short script does not shrink
  EXPECT_THAT(list.output, HasSubstr("nrv2b"));
  EXPECT_THAT(list.output, HasSubstr("tex\\logo.tga"));
  EXPECT_EQ(run(tool + " --verify " + out).status, 0);
}

TEST(DemoPackTool, VerifyNamesADamagedMember) {
  TempDir dir;
  writeText(dir / "demo.run", "at 0:01:000 end\n");
  const std::string out = (dir / "packed").string();
  ASSERT_EQ(run(tool + " -o " + out + " --exe " + engine + " " + (dir / "demo.run").string()).status, 0);
  auto bytes = readFile(out);
  bytes[readFile(engine).size() + 3] ^= 1;  // inside the stored script
  writeFile(out, bytes);
  const ToolRun verify = run(tool + " --verify " + out);
  EXPECT_EQ(verify.status, 1);
  EXPECT_THAT(verify.output, HasSubstr("demo.run: corrupt (262)"));
}

// The browser page fetches the archive as a file of its own: nothing before it, and the engine's
// archive code reads it as it reads one behind an executable.
TEST(DemoPackTool, AnArchiveOnlyHoldsTheArchiveAndNothingBeforeIt) {
  TempDir dir;
  writeText(dir / "show" / "demo.run", "at 0:01:000 end\n");
  writeText(dir / "show" / "tex" / "logo.tga", std::string(5000, 'L'));
  const std::string out = (dir / "show.pak").string();
  const ToolRun pack = run(tool + " -o " + out + " --archive-only " + (dir / "show").string());
  ASSERT_EQ(pack.status, 0) << pack.output;
  EXPECT_EQ(fs::status(out).permissions() & fs::perms::owner_exec, fs::perms::none) << "an archive runs nowhere";

  const std::vector<uint8_t> bytes = readFile(out);
  auto copy = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  std::unique_ptr<Archive> archive;
  ASSERT_EQ(Archive::fromBytes(std::move(copy), static_cast<uint32_t>(bytes.size()), archive), ReadOk);
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(archive->entries(entries), ReadOk);
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].start, 0u) << "the first member starts the file";
  Reader logo;
  ASSERT_EQ(archive->openMember("TEX\\LOGO.TGA", logo), ReadOk);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(logo.data()), logo.size()), std::string(5000, 'L'));
  EXPECT_EQ(run(tool + " --verify " + out).status, 0);

  const ToolRun both = run(tool + " -o " + out + " --archive-only --exe /bin/true " + (dir / "show").string());
  EXPECT_EQ(both.status, 2);
  EXPECT_THAT(both.output, HasSubstr("not both"));
  EXPECT_EQ(run(tool + " -o " + out + " " + (dir / "show").string()).status, 2) << "neither";
}

TEST(DemoPackTool, AFailedPackLeavesTheOldOutputAndNoTemporaryFile) {
  TempDir dir;
  writeText(dir / "out" / "packed", "old");
  writeText(dir / "a" / "x.txt", "1");
  writeText(dir / "b" / "X.TXT", "2");
  const fs::path out = dir / "out" / "packed";
  const ToolRun duplicate = run(tool + " -o " + out.string() + " --exe " + engine + " " + (dir / "a").string() + " " +
                            (dir / "b").string());
  EXPECT_EQ(duplicate.status, 1);
  EXPECT_THAT(duplicate.output, HasSubstr("\"X.TXT\""));
  EXPECT_EQ(run(tool + " --bogus").status, 2);
  EXPECT_EQ(readText(out), "old");
  // A folder in OUT's place makes the final rename fail after the whole file was written.
  writeText(dir / "out" / "folder" / "keep", "k");
  const ToolRun blocked = run(tool + " -o " + (dir / "out" / "folder").string() + " --exe " + engine + " " +
                              (dir / "a").string());
  EXPECT_EQ(blocked.status, 1);
  EXPECT_THAT(blocked.output, HasSubstr("cannot replace it"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 2) << "temporary file left";
}

TEST(PackInputs, ALinkedFileKeepsTheLinksNameAndWhatIsNotPackedIsReported) {
  TempDir dir;
  writeText(dir / "assets" / "logo.tga", "L");
  writeText(dir / "show" / "demo.run", "start");
  fs::create_directories(dir / "show" / "tex");
  fs::create_symlink(dir / "assets" / "logo.tga", dir / "show" / "tex" / "logo.tga");
  fs::create_symlink(dir / "nowhere.tga", dir / "show" / "gone.tga");
  fs::create_directory_symlink(dir / "assets", dir / "show" / "more");
  ASSERT_EQ(mkfifo((dir / "show" / "pipe").c_str(), 0600), 0);
  std::vector<SkippedInput> skipped;
  const auto inputs = collectInputs({dir / "show"}, {}, &skipped);
  std::vector<std::string> names;
  for (const PackInput& input : inputs) names.push_back(input.name);
  EXPECT_THAT(names, ::testing::ElementsAre("demo.run", "tex\\logo.tga")) << "named by the link, not its target";
  std::vector<std::string> reasons;
  for (const SkippedInput& entry : skipped) reasons.push_back(entry.path.filename().string() + ": " + entry.reason);
  std::sort(reasons.begin(), reasons.end());
  EXPECT_THAT(reasons, ::testing::ElementsAre("gone.tga: a dangling link", "more: a link to a folder (not followed)",
                                              "pipe: a FIFO"));
}

TEST(DemoPackTool, RefusesAnExeThatIsNoEngineAndLeavesTheExeOutOfItsOwnFolder) {
  TempDir dir;
  writeText(dir / "show" / "demo.run", "end\n");
  writeText(dir / "empty", "");
  const std::string out = (dir / "packed").string();
  const ToolRun empty = run(tool + " -o " + out + " --exe " + (dir / "empty").string() + " " + (dir / "show").string());
  EXPECT_EQ(empty.status, 1);
  EXPECT_THAT(empty.output, HasSubstr("empty: is empty"));
  const ToolRun other = run(tool + " -o " + out + " --exe /bin/true " + (dir / "show").string());
  EXPECT_EQ(other.status, 1);
  EXPECT_THAT(other.output, HasSubstr("/bin/true: is not an executable of this engine"));
  EXPECT_FALSE(fs::exists(out));

  fs::copy_file(engine, dir / "show" / "engine");
  const ToolRun packed = run(tool + " -o " + out + " --exe " + (dir / "show" / "engine").string() + " " +
                             (dir / "show").string());
  ASSERT_EQ(packed.status, 0) << packed.output;
  EXPECT_THAT(packed.output, HasSubstr("engine: the output or the executable itself"));
  EXPECT_THAT(run(tool + " --list " + out).output, Not(HasSubstr("engine")));
}

TEST(DemoPackTool, VerifyCompilesTheScriptAndNamesFilesThatAreNotMembers) {
  TempDir dir;
  writeText(dir / "show" / "demo.run",
            "loadtexture <t> \"tex/logo.tga\" 4 4 0\n"
            "loadmusic <m> \"song.xm\"\n"
            "start\nend\n");
  writeText(dir / "show" / "tex" / "logo.tga", "L");
  const std::string out = (dir / "packed").string();
  ASSERT_EQ(run(tool + " -o " + out + " --exe " + engine + " " + (dir / "show").string()).status, 0);
  const ToolRun missing = run(tool + " --verify " + out);
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.output, HasSubstr("demo.run:2: loadmusic \"song.xm\": not a member"));
  EXPECT_THAT(missing.output, Not(HasSubstr("logo.tga\": not a member"))) << "a slash finds the backslash member";

  writeText(dir / "show" / "song.xm", "XM");
  ASSERT_EQ(run(tool + " -o " + out + " --exe " + engine + " " + (dir / "show").string()).status, 0);
  const ToolRun complete = run(tool + " --verify " + out);
  EXPECT_EQ(complete.status, 0) << complete.output;
  EXPECT_THAT(complete.output, HasSubstr("demo.run compiles and the 2 files it names are members"));

  writeText(dir / "broken" / "demo.run", "start\nfoo\n");
  ASSERT_EQ(run(tool + " -o " + out + " --exe " + engine + " " + (dir / "broken").string()).status, 0);
  const ToolRun broken = run(tool + " --verify " + out);
  EXPECT_EQ(broken.status, 1);
  EXPECT_THAT(broken.output, HasSubstr("demo.run:2: unknown command \"foo\""));
  EXPECT_THAT(broken.output, HasSubstr(": 1 member intact;"));
}

}  // namespace
}  // namespace demo::test
