// What the page says of the archive it fetched, before it offers the show: one sentence naming what
// is wrong, or nothing when every member reads back intact and a script is there.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/web/archive_check.h"
#include "demo_pack/pack_writer.h"

namespace demo::test {
namespace {

using ::testing::HasSubstr;

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// An archive alone, as demo-pack --archive-only writes it.
std::vector<uint8_t> archiveOf(const std::vector<PackedMember>& members) {
  std::vector<uint8_t> file;
  appendArchive(file, members);
  return file;
}

std::unique_ptr<Archive> probe(const std::vector<uint8_t>& file) {
  auto bytes = std::make_unique<uint8_t[]>(file.size());
  std::memcpy(bytes.get(), file.data(), file.size());
  std::unique_ptr<Archive> archive;
  Archive::fromBytes(std::move(bytes), static_cast<uint32_t>(file.size()), archive);
  return archive;
}

std::vector<PackedMember> show() {
  return {packMember("demo.run", bytesOf("start\nat 1:000\nend\n"), PackMethod::Store),
          packMember("tex\\sky.tga", std::vector<uint8_t>(3000, 7), PackMethod::Best)};
}

TEST(ArchiveCheck, AnIntactShowHasNoProblem) {
  const auto archive = probe(archiveOf(show()));
  ASSERT_NE(archive, nullptr);
  EXPECT_EQ(archiveProblem(archive.get(), "show.pak"), "");
}

TEST(ArchiveCheck, EachFaultIsNamedWithTheArchive) {
  EXPECT_EQ(archiveProblem(nullptr, "page.html"),
            "page.html is not a show archive: it does not end in an archive's trailer.");

  // A flipped byte inside the compressed texture: its CRC-32 no longer matches.
  std::vector<uint8_t> file = archiveOf(show());
  file[show()[0].stored.size() + 10] ^= 0x40;
  EXPECT_EQ(archiveProblem(probe(file).get(), "show.pak"),
            "show.pak is damaged: its member tex\\sky.tga does not read back intact.");

  // A directory offset that points before the file's start.
  file = archiveOf(show());
  const uint32_t wild = 0x80000000u;
  std::memcpy(file.data() + file.size() - 8, &wild, 4);
  EXPECT_THAT(archiveProblem(probe(file).get(), "show.pak"), HasSubstr("its directory does not fit"));

  const auto noScript = probe(archiveOf({packMember("song.xm", bytesOf("xm"), PackMethod::Store)}));
  EXPECT_EQ(archiveProblem(noScript.get(), "tune.pak"), "tune.pak holds no demo.run, so it is no show.");
}

}  // namespace
}  // namespace demo::test
