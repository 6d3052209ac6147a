#pragma once
// The module file as the loader sees it: the registered file operations on one open handle, with
// little-endian field helpers. A failed read leaves its destination unchanged, so a file cut short
// leaves the zeroes every buffer starts with.

#include <cstdint>
#include <cstring>

#include "music/music_file_ops.h"

namespace demo {

class ModuleFile {
 public:
  ModuleFile(const MusicFileOps& ops, void* handle) : ops_(ops), handle_(handle) {}

  bool read(void* destination, uint32_t count) {
    if (count == 0 || ops_.read(destination, count, handle_) == count) return true;
    ranOut_ = true;
    return false;
  }
  void seek(int64_t offset, int8_t origin) {
    if (ops_.seek(handle_, offset, origin) < 0) ranOut_ = true;
  }
  uint32_t tell() { return ops_.tell(handle_); }

  // Takes the file's size once, before parsing. Sizes the loader allocates from are checked against
  // what is left of the file, so a header cannot make it allocate more than the file could fill.
  void measure() {
    seek(0, 2);
    size_ = tell();
  }
  // A read or seek went past the end: whatever the loader refuses after that is the garbage of a
  // file cut short, not what the file says.
  bool ranOut() const { return ranOut_; }

  uint32_t remaining() {
    const uint32_t here = tell();
    return size_ > here ? size_ - here : 0;
  }

  uint8_t readU8() {
    uint8_t value = 0;
    read(&value, 1);
    return value;
  }
  uint16_t readU16() {
    uint8_t bytes[2] = {};
    read(bytes, 2);
    return le16(bytes);
  }
  uint32_t readU32() {
    uint8_t bytes[4] = {};
    read(bytes, 4);
    return le32(bytes);
  }

  static uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
  static uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
  }

 private:
  const MusicFileOps& ops_;
  void* handle_;
  uint32_t size_ = 0;
  bool ranOut_ = false;
};

}  // namespace demo
