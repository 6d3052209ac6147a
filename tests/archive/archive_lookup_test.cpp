// Archives written by demo-pack's writer and read back: member methods, name lookup, flags, and when
// a name goes to disk.

#include <gtest/gtest.h>

#include "packed_file.h"

namespace demo::test {
namespace {

TEST(ArchiveMembers, StoredAndCompressedMembersReadBackByteForByte) {
  TempDir dir;
  const std::string script = compressibleText(200), empty;
  const auto archive = probeBytes(dir, archiveBytes({storedMember("logo.tga", "TGA bytes"),
                                                     compressedMember("demo.run", script),
                                                     storedMember("empty.txt", empty)}));
  Reader reader;
  ASSERT_EQ(archive->openMember("demo.run", reader), ReadOk);
  EXPECT_EQ(textOf(reader), script);
  EXPECT_EQ(reader.tell(), 0u);
  ASSERT_EQ(archive->openMember("logo.tga", reader), ReadOk);
  EXPECT_EQ(textOf(reader), "TGA bytes");
  ASSERT_EQ(archive->openMember("empty.txt", reader), ReadOk);
  EXPECT_TRUE(reader.loaded()) << "an empty member is loaded, not absent";
  EXPECT_EQ(reader.size(), 0u);
}

TEST(ArchiveMembers, TheFileIsReadOnceNotPerMember) {
  TempDir dir;
  const auto archive = probeBytes(dir, archiveBytes({storedMember("a", "first"), storedMember("b", "second")}));
  Reader reader;
  ASSERT_EQ(archive->openMember("a", reader), ReadOk);
  writeFile(dir / "show.bin", bytesOf("replaced"));
  ASSERT_EQ(archive->openMember("b", reader), ReadOk);
  EXPECT_EQ(textOf(reader), "second");
}

TEST(ArchiveNames, LetterCaseIsIgnoredAndSlashMatchesBackslash) {
  TempDir dir;
  const auto archive = probeBytes(dir, archiveBytes({storedMember("Tex\\Wall.tga", "wall")}));
  Reader reader;
  EXPECT_EQ(archive->openMember("tEX\\wALL.TGA", reader), ReadOk);
  // A show that runs from loose files ("tex/wall.tga") runs the same packed.
  EXPECT_EQ(archive->openMember("tex/wall.tga", reader), ReadOk);
  EXPECT_EQ(archive->openMember("Tex//Wall.tga", reader), ReadNotFound);
  EXPECT_EQ(archive->openMember("Wall.tga", reader), ReadNotFound) << "no path normalisation";
  EXPECT_EQ(archive->openMember("Tex\\Wall.tga2", reader), ReadNotFound);
}

TEST(ArchiveNames, TheFirstEntryWithAUsableMethodWins) {
  TempDir dir;
  PackedMember unusable = storedMember("x", "flags 4");
  unusable.flags = 4;
  PackedMember oddCompressed = compressedMember("y", compressibleText(50));
  oddCompressed.flags = 6;  // bit 1 set: compressed, whatever the other bits say
  const auto archive = probeBytes(dir, archiveBytes({unusable, storedMember("X", "second"), storedMember("x", "third"),
                                                     oddCompressed}));
  Reader reader;
  ASSERT_EQ(archive->openMember("x", reader), ReadOk);
  EXPECT_EQ(textOf(reader), "second");
  ASSERT_EQ(archive->openMember("y", reader), ReadOk);
  EXPECT_EQ(textOf(reader), compressibleText(50));
}

TEST(ArchiveNames, RecordsWithoutOrWithLongerChecksumTailsAreAccepted) {
  TempDir dir;
  PackedMember plain = storedMember("plain", "no crc");
  plain.crc.reset();
  PackedMember shortTail = storedMember("short", "three bytes after the NUL are no crc");
  shortTail.crc.reset();
  shortTail.recordTail = {1, 2, 3};
  PackedMember longTail = storedMember("long", "crc then two more bytes");
  longTail.recordTail = {9, 9};
  const auto archive = probeBytes(dir, archiveBytes({plain, shortTail, longTail}));
  std::vector<ArchiveEntry> entries;
  ASSERT_EQ(archive->entries(entries), ReadOk);
  EXPECT_FALSE(entries[1].hasCrc);
  EXPECT_TRUE(entries[2].hasCrc);
  Reader reader;
  for (const char* name : {"plain", "short", "long"}) EXPECT_EQ(archive->openMember(name, reader), ReadOk) << name;
}

// Names on disk are absolute here, so that tests need not change the working folder.
class ArchiveFallback : public ::testing::Test {
 protected:
  std::string onDisk(const std::string& name, const std::string& text) {
    writeFile(dir / name, bytesOf(text));
    return (dir / name).string();
  }
  TempDir dir;
};

TEST_F(ArchiveFallback, FlagsFourOrAbsentNameGoesToDiskAndAbsentEverywhereIs257) {
  const std::string hidden = onDisk("hidden.txt", "from disk"), loose = onDisk("loose.txt", "loose");
  PackedMember unusable = storedMember(hidden, "never read");
  unusable.flags = 4;
  const auto archive = probeBytes(dir, archiveBytes({unusable}));
  Reader reader;
  EXPECT_EQ(archive->openMember(hidden.c_str(), reader), ReadNotFound);
  ASSERT_EQ(reader.open(hidden.c_str(), archive.get()), ReadOk);
  EXPECT_EQ(textOf(reader), "from disk");
  Reader second;
  ASSERT_EQ(second.open(loose.c_str(), archive.get()), ReadOk);
  EXPECT_EQ(textOf(second), "loose");
  Reader third;
  EXPECT_EQ(third.open((dir / "nowhere.txt").string().c_str(), archive.get()), ReadNotFound);
}

TEST_F(ArchiveFallback, AnEmptyDirectoryMeansEverythingComesFromDisk) {
  const std::string loose = onDisk("loose.txt", "loose");
  const auto archive = probeBytes(dir, archiveBytes({}));
  Reader reader;
  EXPECT_EQ(archive->openMember(loose.c_str(), reader), ReadNotFound);
  EXPECT_EQ(reader.open(loose.c_str(), archive.get()), ReadOk);
}

TEST_F(ArchiveFallback, ACorruptMemberIsNotReplacedByTheLooseFile) {
  const std::string name = onDisk("demo.run", "loose copy");
  std::vector<uint8_t> bytes = archiveBytes({storedMember(name, "packed copy")});
  bytes[layoutOf(bytes).dataArea] ^= 1;
  const auto archive = probeBytes(dir, bytes);
  Reader reader;
  EXPECT_EQ(reader.open(name.c_str(), archive.get()), ReadCorrupt);
  EXPECT_FALSE(reader.loaded());
}

TEST(ArchiveProcess, AnExecutableWithoutArchiveReadsFromDisk) {
  // The test program carries no archive.
  EXPECT_EQ(Archive::process(), nullptr);
  TempDir dir;
  writeFile(dir / "loose.txt", bytesOf("loose"));
  Reader reader;
  ASSERT_EQ(reader.open((dir / "loose.txt").string().c_str()), ReadOk);
  EXPECT_EQ(textOf(reader), "loose");
}

}  // namespace
}  // namespace demo::test
