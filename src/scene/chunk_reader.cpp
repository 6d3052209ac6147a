#include "scene/chunk_reader.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace demo {

bool ChunkReader::bytes(void* out, uint32_t count) {
  if (count > remaining())
    return fail("%u bytes at offset %u pass the chunk's end at %u", count, pos_, limit_);
  if (count) std::memcpy(out, data_ + pos_, count);
  pos_ += count;
  return true;
}

bool ChunkReader::skip(uint32_t count) {
  if (count > remaining())
    return fail("%u bytes at offset %u pass the chunk's end at %u", count, pos_, limit_);
  pos_ += count;
  return true;
}

bool ChunkReader::u16(uint16_t& value) {
  uint8_t b[2] = {};
  if (!bytes(b, 2)) return false;
  value = static_cast<uint16_t>(b[0] | b[1] << 8);
  return true;
}

bool ChunkReader::u32(uint32_t& value) {
  uint8_t b[4] = {};
  if (!bytes(b, 4)) return false;
  value = uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
  return true;
}

bool ChunkReader::f32(float& value) {
  uint32_t bits;
  if (!u32(bits)) return false;
  std::memcpy(&value, &bits, 4);
  if (!std::isfinite(value)) value = 0.0f;
  return true;
}

bool ChunkReader::vec3(Vec3& value) { return f32(value.x) && f32(value.y) && f32(value.z); }

bool ChunkReader::name(char* buffer, uint32_t capacity) {
  std::memset(buffer, 0, capacity);
  const uint32_t start = pos_;
  for (uint32_t n = 0;; ++n) {
    if (pos_ >= limit_) return fail("the name at offset %u has no terminating zero before the chunk's end", start);
    const char c = static_cast<char>(data_[pos_++]);
    if (c == '\0') return true;
    if (n + 1 < capacity) buffer[n] = c;
  }
}

bool ChunkReader::enter(uint32_t end, Chunk& chunk) {
  chunk.start = pos_;
  if (end - pos_ < HeaderSize)
    return fail("a chunk header at offset %u is cut short by the end at %u", pos_, end);
  const uint8_t* p = data_ + pos_;
  chunk.id = static_cast<uint16_t>(p[0] | p[1] << 8);
  const uint32_t length = uint32_t{p[2]} | uint32_t{p[3]} << 8 | uint32_t{p[4]} << 16 | uint32_t{p[5]} << 24;
  // A length below the header would make the walk revisit the same chunk forever.
  if (length < HeaderSize)
    return fail("chunk 0x%04X at offset %u: length %u is shorter than its own header", chunk.id, pos_, length);
  const uint64_t chunkEnd = uint64_t{pos_} + length;
  if (chunkEnd > end)
    return fail("chunk 0x%04X at offset %u: its length %u runs to %llu, beyond the end of its parent at %u",
                chunk.id, pos_, length, static_cast<unsigned long long>(chunkEnd), end);
  chunk.end = static_cast<uint32_t>(chunkEnd);
  pos_ += HeaderSize;
  return true;
}

bool ChunkReader::fail(const char* format, ...) {
  if (!reason_.empty()) return false;
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  // Messages that name their own chunk (a refused header) stand alone.
  if (inChunk_ && std::strncmp(text, "chunk 0x", 8) != 0) {
    char where[48];
    std::snprintf(where, sizeof where, "chunk 0x%04X at offset %u: ", chunkId_, chunkStart_);
    reason_ = where;
  }
  reason_ += text;
  return false;
}

}  // namespace demo
