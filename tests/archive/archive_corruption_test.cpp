// Damaged archives: a directory that points outside the file spoils every archive open (262); a
// damaged member gives 262 for itself only. Nothing is read outside the file or allocated from a
// lying size (ASan checks the first, the 1 GiB cap the second).

#include <functional>

#include <gtest/gtest.h>

#include "packed_file.h"

namespace demo::test {
namespace {

// Two members: "a" stored (entry at firstEntry) and "b" compressed (entry right after it).
struct Sample {
  std::vector<uint8_t> bytes;
  ArchiveLayout layout;
  uint64_t secondEntry;
};

Sample sample() {
  Sample s;
  s.bytes = archiveBytes({storedMember("a", "stored member"), compressedMember("b", compressibleText(100))});
  s.layout = layoutOf(s.bytes);
  s.secondEntry = s.layout.firstEntry + 4 + le32At(s.bytes, s.layout.firstEntry);
  return s;
}

struct Damage {
  const char* name;
  std::function<void(Sample&)> apply;
  const char* member = "b";  // the member a member-level damage hits
};

void PrintTo(const Damage& damage, std::ostream* out) { *out << damage.name; }

std::string damageName(const ::testing::TestParamInfo<Damage>& info) { return info.param.name; }

class DamagedDirectory : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedDirectory, EveryArchiveOpenGives262) {
  Sample s = sample();
  GetParam().apply(s);
  TempDir dir;
  const auto archive = probeBytes(dir, s.bytes);
  ASSERT_TRUE(archive);
  std::vector<ArchiveEntry> entries;
  EXPECT_EQ(archive->entries(entries), ReadCorrupt);
  Reader reader;
  EXPECT_EQ(archive->openMember("a", reader), ReadCorrupt);
  EXPECT_EQ(reader.open("b", archive.get()), ReadCorrupt) << "no fallback to disk";
}

uint32_t minus(uint64_t value) { return static_cast<uint32_t>(-static_cast<int64_t>(value)); }

INSTANTIATE_TEST_SUITE_P(
    Archive, DamagedDirectory,
    ::testing::Values(
        Damage{"DirOffsetBeforeTheFile", [](Sample& s) { putLe32At(s.bytes, s.bytes.size() - 8, minus(s.bytes.size())); }},
        Damage{"DirOffsetZero", [](Sample& s) { putLe32At(s.bytes, s.bytes.size() - 8, 0); }},
        Damage{"DirOffsetIntoTheTrailer", [](Sample& s) { putLe32At(s.bytes, s.bytes.size() - 8, minus(8)); }},
        Damage{"DirOffsetPastTheEnd", [](Sample& s) { putLe32At(s.bytes, s.bytes.size() - 8, 0x7FFFFFF0u); }},
        Damage{"BaseBeforeTheFile", [](Sample& s) { putLe32At(s.bytes, s.layout.header + 4, minus(s.layout.header + 1)); }},
        Damage{"BaseAfterTheHeader", [](Sample& s) { putLe32At(s.bytes, s.layout.header + 4, 4); }},
        Damage{"CountOverflowing", [](Sample& s) { putLe32At(s.bytes, s.layout.header + 8, 0xFFFFFFFFu); }},
        Damage{"CountOneTooMany", [](Sample& s) { putLe32At(s.bytes, s.layout.header + 8, 3); }},
        Damage{"RecordLengthPastTheDirectory", [](Sample& s) { putLe32At(s.bytes, s.secondEntry, 0x7FFFFFFFu); }},
        Damage{"RecordLengthWrapping", [](Sample& s) { putLe32At(s.bytes, s.layout.firstEntry, 0xFFFFFFFFu); }},
        Damage{"RecordTooShortForAName", [](Sample& s) { putLe32At(s.bytes, s.layout.firstEntry, 12); }},
        Damage{"NameWithoutNul",
               [](Sample& s) {
                 // Name and CRC bytes all non-zero: the record holds no terminator.
                 const uint64_t name = s.layout.firstEntry + 16;
                 for (uint64_t i = name; i < s.secondEntry; ++i) s.bytes[i] = 'n';
               }},
        Damage{"TrailerShorterThanEightBytes", [](Sample& s) { s.bytes = bytesOf("xVORK"); }}),
    damageName);

class DamagedMember : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedMember, Gives262AndLeavesTheOtherMemberReadable) {
  Sample s = sample();
  GetParam().apply(s);
  TempDir dir;
  const auto archive = probeBytes(dir, s.bytes);
  ASSERT_TRUE(archive);
  const std::string damaged = GetParam().member, intact = damaged == "a" ? "b" : "a";
  Reader reader;
  EXPECT_EQ(archive->openMember(damaged.c_str(), reader), ReadCorrupt);
  EXPECT_FALSE(reader.loaded());
  EXPECT_EQ(archive->openMember(intact.c_str(), reader), ReadOk);
}

// Positions of the second entry's fields: offset +4, storedSize +8; its stored bytes start with the
// size prefix.
INSTANTIATE_TEST_SUITE_P(
    Archive, DamagedMember,
    ::testing::Values(
        Damage{"StoredBytesPastTheEnd", [](Sample& s) { putLe32At(s.bytes, s.layout.firstEntry + 8, 0x7FFFFFFFu); },
               "a"},
        Damage{"OffsetPlusSizeWrapping",
               [](Sample& s) {
                 putLe32At(s.bytes, s.layout.firstEntry + 4, 0xFFFFFFF0u);
                 putLe32At(s.bytes, s.layout.firstEntry + 8, 0x20);
               },
               "a"},
        Damage{"StoredByteFlipped", [](Sample& s) { s.bytes[s.layout.dataArea + 3] ^= 0x20; }, "a"},
        Damage{"CrcInTheRecordWrong",
               [](Sample& s) { s.bytes[s.secondEntry + 4 + 12 + 2] ^= 1; }},  // after "b" and its NUL
        Damage{"StreamTruncated",
               [](Sample& s) { putLe32At(s.bytes, s.secondEntry + 8, le32At(s.bytes, s.secondEntry + 8) - 6); }},
        Damage{"PrefixDeclaresOneByteMore",
               [](Sample& s) {
                 const uint64_t prefix = s.layout.dataArea + le32At(s.bytes, s.secondEntry + 4);
                 putLe32At(s.bytes, prefix, le32At(s.bytes, prefix) + 1);
               }},
        Damage{"PrefixDeclaresOneByteLess",
               [](Sample& s) {
                 const uint64_t prefix = s.layout.dataArea + le32At(s.bytes, s.secondEntry + 4);
                 putLe32At(s.bytes, prefix, le32At(s.bytes, prefix) - 1);
               }},
        Damage{"FourGigabytesDeclaredInTenBytes",
               [](Sample& s) {
                 const uint64_t prefix = s.layout.dataArea + le32At(s.bytes, s.secondEntry + 4);
                 putLe32At(s.bytes, prefix, 0xFFFFFFFFu);
                 putLe32At(s.bytes, s.secondEntry + 8, 10);
               }},
        Damage{"CompressedShorterThanItsPrefix", [](Sample& s) { putLe32At(s.bytes, s.secondEntry + 8, 3); }}),
    damageName);

}  // namespace
}  // namespace demo::test
