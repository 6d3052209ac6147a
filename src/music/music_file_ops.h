#pragma once
// The five file operations through which the music loader reads: in the show they are the stream
// callbacks of archive/reader.h, so a module is found in the appended archive or on disk like every
// other file.

#include <cstdint>

namespace demo {

struct MusicFileOps {
  using Open = void* (*)(const char* name);                              // null on failure
  using Close = void (*)(void* handle);
  using Read = uint32_t (*)(void* buffer, uint32_t count, void* handle);  // count, or 0 and nothing read
  using Seek = int64_t (*)(void* handle, int64_t offset, int8_t origin);  // 0 start, 1 current, 2 end; -1 failed
  using Tell = uint32_t (*)(void* handle);

  Open open = nullptr;
  Close close = nullptr;
  Read read = nullptr;
  Seek seek = nullptr;
  Tell tell = nullptr;

  bool complete() const { return open && close && read && seek && tell; }
};

// Registers the five operations; if any of them is null, all five are cleared.
void setMusicFileOps(MusicFileOps& ops, MusicFileOps::Open open, MusicFileOps::Close close, MusicFileOps::Read read,
                     MusicFileOps::Seek seek, MusicFileOps::Tell tell);

}  // namespace demo
