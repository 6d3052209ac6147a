#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/archive.h"

namespace demo {
namespace {

// The bit-at-a-time definition, against which the table-driven version is checked.
uint32_t referenceCrc(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

TEST(Crc32, IsTheStandardCrcForEveryLengthAndAlignment) {
  const std::string check = "123456789";
  EXPECT_EQ(crc32(reinterpret_cast<const uint8_t*>(check.data()), check.size()), 0xCBF43926u);
  std::vector<uint8_t> bytes(64);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 151 + 7);
  for (size_t start = 0; start < 8; ++start)
    for (size_t size = 0; start + size <= bytes.size(); ++size)
      ASSERT_EQ(crc32(bytes.data() + start, size), referenceCrc(bytes.data() + start, size)) << start << "+" << size;
  // Continuing from an earlier result equals one pass over both parts.
  EXPECT_EQ(crc32(bytes.data() + 13, 51, crc32(bytes.data(), 13)), crc32(bytes.data(), 64));
}

}  // namespace
}  // namespace demo
