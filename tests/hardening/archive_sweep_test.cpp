// The archive's damage sweep: every damaged copy of each writer-made archive probed from memory,
// its directory read and every member opened; and every damaged copy of each compressed member
// decoded on its own. Each load must end in one of the documented codes.

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "archive/archive.h"
#include "sweep_inputs.h"

namespace demo::test {
namespace {

bool documentedOpenStatus(int status) {
  return status == ReadOk || status == ReadNotFound || status == ReadCorrupt;
}

void loadArchive(DamagedCopy& copy) {
  std::unique_ptr<Archive> archive;
  const int probed = Archive::fromBytes(std::move(copy.bytes), copy.size, archive);
  if (probed != ReadOk) {
    EXPECT_TRUE(probed == ReadSeekFailed || probed == ReadBadMagic) << currentDamage() << ": " << probed;
    return;
  }
  std::vector<ArchiveEntry> entries;
  const int listed = archive->entries(entries);
  EXPECT_TRUE(listed == ReadOk || listed == ReadCorrupt) << currentDamage() << ": " << listed;
  for (const ArchiveEntry& entry : entries) {
    Reader reader;
    const int status = archive->openMember(entry.name.c_str(), reader);
    EXPECT_TRUE(documentedOpenStatus(status)) << currentDamage() << ": " << entry.name << " gave " << status;
    EXPECT_EQ(reader.loaded(), status == ReadOk) << currentDamage();
  }
  Reader reader;
  EXPECT_TRUE(documentedOpenStatus(archive->openMember("absent", reader))) << currentDamage();
}

void loadCompressedMember(DamagedCopy& copy) {
  const std::span<const uint8_t> bytes = copy.view();
  if (bytes.size() < 4) return;  // the archive refuses such a member before decoding
  const uint32_t size = static_cast<uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
                        static_cast<uint32_t>(bytes[3]) << 24;
  if (size > MaxMemberSize) return;  // likewise
  auto output = std::make_unique_for_overwrite<uint8_t[]>(size);
  const int status = decompressNrv2b(bytes.data() + 4, static_cast<uint32_t>(bytes.size() - 4), output.get(), size);
  EXPECT_TRUE(status == ReadOk || status == ReadCorrupt) << currentDamage() << ": " << status;
}

class ArchiveSweep : public ::testing::TestWithParam<SweepInput> {};
TEST_P(ArchiveSweep, EveryDamagedCopyOpensOrFailsWithItsCode) { runSweep(GetParam(), loadArchive); }
INSTANTIATE_TEST_SUITE_P(Fixtures, ArchiveSweep, ::testing::ValuesIn(sweepInputs(archiveFixtures())), sweepCaseName);

class Nrv2bSweep : public ::testing::TestWithParam<SweepInput> {};
TEST_P(Nrv2bSweep, EveryDamagedStreamDecodesOrGives262) { runSweep(GetParam(), loadCompressedMember); }
INSTANTIATE_TEST_SUITE_P(Fixtures, Nrv2bSweep, ::testing::ValuesIn(sweepInputs(nrv2bFixtures())), sweepCaseName);

}  // namespace
}  // namespace demo::test
