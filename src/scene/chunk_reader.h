#pragma once
// A bounded view of a 3DS file's bytes. Reads stop at the end of the chunk being read, never in the
// next chunk or past the data; a walk refuses a chunk whose length is below its header or whose end
// lies beyond its parent's. Every failure records why and where, in the words a show maker reads:
// "chunk 0x4110 at offset 1234: 65535 vertices do not fit in 20 bytes".
//
// Loader contract: archive/loader_contract.h.

#include <cstdint>
#include <string>

#include "scene/vec3.h"

// mingw-w64's C++ library formats with its own C99 printf (%zu, %llu), not the system's.
#if defined(__MINGW32__)
#define DEMO_CHUNK_FORMAT __attribute__((format(gnu_printf, 2, 3)))
#else
#define DEMO_CHUNK_FORMAT __attribute__((format(printf, 2, 3)))
#endif

namespace demo {

class ChunkReader {
 public:
  static constexpr uint32_t HeaderSize = 6;  // id (uint16) and length (uint32, header included)

  ChunkReader(const uint8_t* data, uint32_t size) : data_(data), limit_(size) {}

  uint32_t position() const { return pos_; }
  // The end of the chunk being read (of the data outside any chunk).
  uint32_t limit() const { return limit_; }
  uint32_t remaining() const { return limit_ - pos_; }

  bool bytes(void* out, uint32_t count);
  bool skip(uint32_t count);
  bool u16(uint16_t& value);
  bool u32(uint32_t& value);
  // A little-endian float; NaN and the infinities read as 0, so nothing downstream meets them.
  bool f32(float& value);
  // Three floats as stored (no axis exchange).
  bool vec3(Vec3& value);
  // A zero-terminated text: the first capacity - 1 bytes are kept, the rest up to the zero consumed.
  // The buffer is zero-filled first. Fails when the chunk ends before the zero.
  bool name(char* buffer, uint32_t capacity);

  // Walks the chunks from the position up to `end`: for each, handler(id, chunkEnd) runs with reads
  // limited to that chunk, and the walk goes on at the chunk's end whatever the handler read. Fails
  // at a short header, a length below the header, a chunk ending beyond `end`, or a failed handler.
  template <typename Handler>
  bool walk(uint32_t end, Handler&& handler);

  // Records the reason (the first one only: an inner chunk's failure is the one that explains) with
  // the chunk being read, and returns false.
  bool fail(const char* format, ...) DEMO_CHUNK_FORMAT;
  const std::string& reason() const { return reason_; }

  // The innermost chunk being walked (id 0 and offset 0 outside any chunk).
  uint16_t chunkId() const { return chunkId_; }
  uint32_t chunkStart() const { return chunkStart_; }

 private:
  struct Chunk {
    uint16_t id;
    uint32_t start, end;
  };
  bool enter(uint32_t end, Chunk& chunk);

  const uint8_t* data_;
  uint32_t pos_ = 0;
  uint32_t limit_;
  uint16_t chunkId_ = 0;
  uint32_t chunkStart_ = 0;
  bool inChunk_ = false;
  std::string reason_;
};

template <typename Handler>
bool ChunkReader::walk(uint32_t end, Handler&& handler) {
  while (pos_ < end) {
    Chunk chunk;
    if (!enter(end, chunk)) return false;
    const uint32_t outerLimit = limit_;
    const uint16_t outerId = chunkId_;
    const uint32_t outerStart = chunkStart_;
    const bool outerInChunk = inChunk_;
    limit_ = chunk.end;
    chunkId_ = chunk.id;
    chunkStart_ = chunk.start;
    inChunk_ = true;
    const bool ok = handler(chunk.id, chunk.end);
    limit_ = outerLimit;
    chunkId_ = outerId;
    chunkStart_ = outerStart;
    inChunk_ = outerInChunk;
    if (!ok) return false;
    pos_ = chunk.end;
  }
  return true;
}

}  // namespace demo
