#include <array>

#include "archive/archive.h"

namespace demo {

namespace {

// Slicing by eight: table k advances a byte's contribution by k further bytes, so eight input bytes
// are folded with eight independent lookups instead of a chain of eight. Every open of a member
// checks its CRC, and bytewise the check cost a third of the open.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables makeTables() {
  Tables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][i] = c;
  }
  for (size_t k = 1; k < 8; ++k)
    for (uint32_t i = 0; i < 256; ++i) tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
  return tables;
}
constexpr Tables tables = makeTables();

uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc) {
  crc = ~crc;
  for (; size >= 8; data += 8, size -= 8) {
    const uint32_t low = le32(data) ^ crc, high = le32(data + 4);
    crc = tables[7][low & 0xFF] ^ tables[6][(low >> 8) & 0xFF] ^ tables[5][(low >> 16) & 0xFF] ^
          tables[4][low >> 24] ^ tables[3][high & 0xFF] ^ tables[2][(high >> 8) & 0xFF] ^
          tables[1][(high >> 16) & 0xFF] ^ tables[0][high >> 24];
  }
  for (; size > 0; ++data, --size) crc = tables[0][(crc ^ *data) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

}  // namespace demo
