#pragma once
// Reader: one whole file in memory, opened by name from the archive appended to the executable or,
// when the name is not there, from disk. Every loader of the show reads through one.
//
// Loaders read only through a Reader and handle every failed read: a read or seek past the end
// fails without moving, so a short or damaged file ends in a status code, never outside the buffer.
//
// Loader contract: archive/loader_contract.h.

#include <cstddef>
#include <cstdint>
#include <memory>

namespace demo {

class Archive;

// Status codes of the reader and the archive probe. 0 is success.
enum ReadStatus : int {
  ReadOk = 0,
  ReadNotFound = 257,    // cannot be opened, or not in the archive
  ReadSeekFailed = 258,  // seeking to the end of the file failed
  ReadShort = 259,       // fewer bytes than expected came from the file
  ReadNoData = 260,      // the Reader holds no data
  ReadPastEnd = 261,     // a read would pass the end; also readLine with capacity 0
  ReadCorrupt = 262,     // a member does not decode to its declared size or checksum, or the directory is bad
  ReadBadMagic = 266,    // the executable carries no archive (probe only)
};

// Element types of readValues.
enum ValueType : int {
  ValueByte = 0,      // 1 byte
  ValueDword = 1,     // 4 bytes, as stored
  ValueWordLE = 2,    // 2 bytes, little-endian
  ValueDwordLE = 3,   // 4 bytes, little-endian
  ValueWordBE = 4,    // 2 bytes, byte order reversed
  ValueDwordBE = 5,   // 4 bytes, byte order reversed
};

// Seek origins: the reader's own numbering, not the C library's.
enum SeekOrigin : int { SeekStart = 0, SeekEnd = 1, SeekCurrent = 2 };

class Reader {
 public:
  Reader() = default;
  ~Reader() { release(); }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;
  Reader(Reader&&) noexcept = default;
  Reader& operator=(Reader&&) noexcept = default;

  // Opens the name from the running executable's archive, falling back to disk only when the
  // archive does not hold it (257). Any other archive failure (262) is returned as it is.
  int open(const char* name);
  // The same against a given archive; null means disk only.
  int open(const char* name, const Archive* archive);
  // Disk only. On POSIX a backslash in the name also separates folders.
  int openFromDisk(const char* name);
  // Disk only, the path taken exactly as given (the executable's own path may hold any character).
  int openFile(const char* path);
  // Takes over bytes already in memory (tests, fuzzers, archive members).
  void assign(std::unique_ptr<uint8_t[]> bytes, uint32_t size);

  // Frees the data: 260 when there was none, else 0.
  int release();

  int read(void* buffer, uint32_t count);
  int readValues(void* buffer, uint32_t count, int type);
  // New position, or -1 (position unchanged) on failure or without data.
  int64_t seek(int64_t offset, int origin);
  // The position, or all bits set without data.
  uint32_t tell() const { return data_ ? pos_ : 0xFFFFFFFFu; }
  bool atEnd() const { return !data_ || pos_ >= size_; }
  // One text line: up to a line feed (consumed, not kept; a carriage return right after it is
  // consumed too) or the capacity less one. Always NUL-terminated.
  int readLine(char* destination, uint32_t capacity);

  uint32_t size() const { return data_ ? size_ : 0; }
  const uint8_t* data() const { return data_.get(); }
  bool loaded() const { return data_ != nullptr; }
  uint32_t position() const { return pos_; }
  uint32_t remaining() const { return data_ ? size_ - pos_ : 0; }

 private:
  std::unique_ptr<uint8_t[]> data_;
  uint32_t pos_ = 0;
  uint32_t size_ = 0;
};

// The five stream callbacks through which the music loader reads its module. A handle is a heap
// Reader.
void* streamOpen(const char* name);
void streamClose(void* handle);
// The byte count on success, 0 on any failure (never a partial count).
uint32_t streamRead(void* buffer, uint32_t count, void* handle);
// C library origins: 1 current, 2 end, anything else start.
int64_t streamSeek(void* handle, int64_t offset, int8_t mode);
uint32_t streamTell(void* handle);

}  // namespace demo
