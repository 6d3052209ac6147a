// NRV2B streams decoded on their own, with hand-checked bytes: what a damaged stream may not do to
// the memory around it. (Damaged members inside whole archives: archive_corruption_test.cpp.)

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/archive.h"

namespace demo::test {
namespace {

// UCL's level-10 output for "abcdabcdabcd": a control byte, four literals, then one match whose
// offset byte (index 5, value 3) means "4 bytes back", and the end marker.
const std::vector<uint8_t> abcdStream = {0xF6, 'a', 'b', 'c', 'd', 0x03, 0x18, 0, 0, 0, 0, 0, 0x24, 0xFF};
constexpr size_t OffsetByte = 5;
const std::string abcd = "abcdabcdabcd";

// Decodes into the front of a larger buffer filled with a guard value and checks that nothing
// behind the declared size was touched.
int decodeGuarded(const std::vector<uint8_t>& stream, uint32_t declared, std::string* text = nullptr) {
  std::vector<uint8_t> output(declared + 64, 0xA5);
  const int status = decompressNrv2b(stream.data(), static_cast<uint32_t>(stream.size()), output.data(), declared);
  for (size_t i = declared; i < output.size(); ++i)
    EXPECT_EQ(output[i], 0xA5) << "written at " << i << ", past the declared " << declared << " bytes";
  if (text) text->assign(output.begin(), output.begin() + declared);
  return status;
}

TEST(Nrv2bStream, TheHandCheckedStreamDecodes) {
  std::string text;
  ASSERT_EQ(decodeGuarded(abcdStream, 12, &text), ReadOk);
  EXPECT_EQ(text, abcd);
}

TEST(Nrv2bStream, ABackReferenceBeforeTheOutputStartIsRefused) {
  std::vector<uint8_t> stream = abcdStream;
  stream[OffsetByte] = 0x04;  // 5 bytes back, with only 4 written
  EXPECT_EQ(decodeGuarded(stream, 12), ReadCorrupt);
  stream[OffsetByte] = 0xFF;
  EXPECT_EQ(decodeGuarded(stream, 12), ReadCorrupt);
}

TEST(Nrv2bStream, AStreamLongerThanItsDeclaredSizeStopsAtTheSize) {
  for (uint32_t declared : {0u, 1u, 4u, 5u, 11u}) EXPECT_EQ(decodeGuarded(abcdStream, declared), ReadCorrupt) << declared;
}

TEST(Nrv2bStream, AStreamCutAnywhereIsRefused) {
  for (size_t length = 0; length < abcdStream.size(); ++length) {
    const std::vector<uint8_t> cut(abcdStream.begin(), abcdStream.begin() + length);
    EXPECT_EQ(decodeGuarded(cut, 12), ReadCorrupt) << "cut at " << length;
  }
}

}  // namespace
}  // namespace demo::test
