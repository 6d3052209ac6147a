#include "archive/reader.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "archive/archive.h"

namespace demo {

int Reader::open(const char* name) { return open(name, Archive::process()); }

int Reader::open(const char* name, const Archive* archive) {
  if (archive) {
    const int status = archive->openMember(name, *this);
    if (status != ReadNotFound) return status;
  }
  return openFromDisk(name);
}

int Reader::openFromDisk(const char* name) {
  std::string path = name;
#ifndef _WIN32
  // Scripts written on Windows name folders with backslashes; let them run here too.
  for (char& c : path)
    if (c == '\\') c = '/';
#endif
  return openFile(path.c_str());
}

int Reader::openFile(const char* path) {
  // fopen accepts a folder on POSIX, and on some file systems it then reads as an empty file.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) return ReadNotFound;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return ReadNotFound;
  if (std::fseek(file, 0, SEEK_END) != 0) {
    std::fclose(file);
    return ReadSeekFailed;
  }
  const long end = std::ftell(file);
  // Sizes are 32-bit throughout the format; a larger file is no file of ours.
  if (end < 0 || static_cast<unsigned long>(end) > 0xFFFFFFFEul || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return ReadSeekFailed;
  }
  const auto size = static_cast<uint32_t>(end);
  // One spare byte so that an empty file still has a buffer: "loaded" and "empty" stay distinct.
  auto bytes = std::make_unique<uint8_t[]>(size + 1u);
  const size_t got = std::fread(bytes.get(), 1, size, file);
  std::fclose(file);
  data_ = std::move(bytes);
  size_ = size;
  pos_ = 0;
  // A short read keeps the buffer, which release() frees, as the caller expects of 259.
  return got == size ? ReadOk : ReadShort;
}

void Reader::assign(std::unique_ptr<uint8_t[]> bytes, uint32_t size) {
  data_ = std::move(bytes);
  size_ = size;
  pos_ = 0;
}

int Reader::release() {
  if (!data_) return ReadNoData;
  data_.reset();
  size_ = 0;
  pos_ = 0;
  return ReadOk;
}

int Reader::read(void* buffer, uint32_t count) {
  if (!data_) return ReadNoData;
  if (static_cast<uint64_t>(pos_) + count > size_) return ReadPastEnd;
  if (count) std::memcpy(buffer, data_.get() + pos_, count);
  pos_ += count;
  return ReadOk;
}

static uint32_t valueWidth(int type) {
  switch (type) {
    case ValueByte: return 1;
    case ValueDword:
    case ValueDwordLE:
    case ValueDwordBE: return 4;
    case ValueWordLE:
    case ValueWordBE: return 2;
    default: return 0;
  }
}

int Reader::readValues(void* buffer, uint32_t count, int type) {
  const uint32_t width = valueWidth(type);
  if (width == 0) return ReadPastEnd;  // element types beyond 5 are not used
  const uint64_t bytes = static_cast<uint64_t>(count) * width;
  if (!data_) return ReadNoData;
  if (pos_ + bytes > size_) return ReadPastEnd;
  auto* out = static_cast<uint8_t*>(buffer);
  std::memcpy(out, data_.get() + pos_, bytes);
  pos_ += static_cast<uint32_t>(bytes);
  if (type == ValueWordBE || type == ValueDwordBE) {
    for (uint64_t i = 0; i < bytes; i += width)
      for (uint32_t a = 0, b = width - 1; a < b; ++a, --b) std::swap(out[i + a], out[i + b]);
  }
  return ReadOk;
}

int64_t Reader::seek(int64_t offset, int origin) {
  if (!data_) return -1;
  int64_t target;
  if (origin == SeekEnd) {
    // From the end the offset must not be positive and the target must lie above 0.
    if (offset > 0) return -1;
    target = static_cast<int64_t>(size_) + offset;
    if (target <= 0) return -1;
  } else {
    target = origin == SeekCurrent ? static_cast<int64_t>(pos_) + offset : offset;
    if (target < 0 || target > static_cast<int64_t>(size_)) return -1;
  }
  pos_ = static_cast<uint32_t>(target);
  return target;
}

int Reader::readLine(char* destination, uint32_t capacity) {
  if (capacity == 0) return ReadPastEnd;
  uint32_t written = 0;
  if (data_) {
    const uint32_t limit = static_cast<uint64_t>(pos_) + capacity > size_ ? size_ - pos_ : capacity - 1;
    while (written < limit) {
      const uint8_t c = data_[pos_++];
      if (c == '\n') {
        if (pos_ < size_ && data_[pos_] == '\r') ++pos_;
        break;
      }
      destination[written++] = static_cast<char>(c);
    }
  }
  destination[written] = '\0';
  return ReadOk;
}

void* streamOpen(const char* name) {
  auto reader = std::make_unique<Reader>();
  if (reader->open(name) != ReadOk) return nullptr;
  return reader.release();
}

void streamClose(void* handle) { delete static_cast<Reader*>(handle); }

uint32_t streamRead(void* buffer, uint32_t count, void* handle) {
  auto* reader = static_cast<Reader*>(handle);
  return reader->read(buffer, count) == ReadOk ? count : 0;
}

int64_t streamSeek(void* handle, int64_t offset, int8_t mode) {
  const int origin = mode == 1 ? SeekCurrent : mode == 2 ? SeekEnd : SeekStart;
  return static_cast<Reader*>(handle)->seek(offset, origin);
}

uint32_t streamTell(void* handle) { return static_cast<Reader*>(handle)->tell(); }

}  // namespace demo
