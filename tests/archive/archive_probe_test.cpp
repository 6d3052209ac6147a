// The probe for the trailing magic, and a real executable carrying an archive.

#include <cstdlib>

#include <gtest/gtest.h>

#include "demo_pack/pack_output.h"
#include "packed_file.h"

namespace demo::test {
namespace {

int probeStatus(const TempDir& dir, const std::string& content) {
  writeFile(dir / "probe.bin", bytesOf(content));
  std::unique_ptr<Archive> archive;
  const int status = Archive::probe((dir / "probe.bin").string(), archive);
  EXPECT_EQ(archive != nullptr, status == ReadOk);
  return status;
}

TEST(ArchiveProbe, StatusCodesFollowTheTrailingFourBytes) {
  TempDir dir;
  std::unique_ptr<Archive> archive;
  EXPECT_EQ(Archive::probe((dir / "missing").string(), archive), ReadNotFound);
  EXPECT_EQ(probeStatus(dir, "VOR"), ReadSeekFailed) << "too short to seek 4 bytes back";
  EXPECT_EQ(probeStatus(dir, "plain program"), ReadBadMagic);
  EXPECT_EQ(probeStatus(dir, "plain program vork"), ReadBadMagic) << "the magic is exact, not case-blind";
  EXPECT_EQ(probeStatus(dir, "VORK"), ReadOk);
}

TEST(ArchiveProbe, ARealExecutableStillRunsAndCarriesItsMembers) {
  const std::filesystem::path program = "/bin/true";
  if (!std::filesystem::exists(program)) GTEST_SKIP() << program << " not found";
  TempDir dir;
  std::vector<uint8_t> bytes = readFile(program);
  appendArchive(bytes, {compressedMember("demo.run", compressibleText(300)), storedMember("music\\song.xm", "XM")});
  writeExecutable(dir / "show", bytes);
  EXPECT_EQ(std::system((dir / "show").string().c_str()), 0) << "the program ignores what follows its image";

  std::unique_ptr<Archive> archive;
  ASSERT_EQ(Archive::probe((dir / "show").string(), archive), ReadOk);
  Reader reader;
  ASSERT_EQ(reader.open("DEMO.RUN", archive.get()), ReadOk);
  EXPECT_EQ(textOf(reader), compressibleText(300));
  Reader song;
  ASSERT_EQ(song.open("music\\song.xm", archive.get()), ReadOk);
  EXPECT_EQ(textOf(song), "XM");
}

}  // namespace
}  // namespace demo::test
