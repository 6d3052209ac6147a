// NRV2B members that made UCL's decoder read past the end of its input. Each file is a compressed
// member as stored (uint32 size prefix, then the stream); the stream is placed right before an
// inaccessible page, since libucl is not instrumented and only a fault shows such a read.

#include <memory>

#include <gtest/gtest.h>

#include "archive/archive.h"
#include "regress_files.h"
#include "support/guarded_bytes.h"

namespace demo::test {
namespace {

int decodeBeforeGuardPage(const std::vector<uint8_t>& member) {
  const uint32_t size = member[0] | member[1] << 8 | member[2] << 16 | static_cast<uint32_t>(member[3]) << 24;
  const GuardedBytes stream(std::span<const uint8_t>(member).subspan(4));
  auto output = std::make_unique<uint8_t[]>(size);
  return decompressNrv2b(stream.data(), static_cast<uint32_t>(stream.size()), output.get(), size);
}

TEST(Nrv2bRegress, StreamCutRightAfterAMatchOffsetWasReadOneBytePastItsEnd) {
  EXPECT_EQ(decodeBeforeGuardPage(regressFile("nrv2b", "cut_after_match_offset.nrv")), ReadCorrupt);
}

TEST(Nrv2bRegress, EmptyStreamWasReadOneBytePastItsEnd) {
  EXPECT_EQ(decodeBeforeGuardPage(regressFile("nrv2b", "empty_stream.nrv")), ReadCorrupt);
}

}  // namespace
}  // namespace demo::test
