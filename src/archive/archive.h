#pragma once
// The data archive appended behind the program image.
//
// Layout (all integers little-endian, positions absolute in the file):
//   trailer, last 8 bytes:  int32 dirOffset (negative, from its own position to H), "VORK"
//   directory header at H:  uint32 dirSize, int32 base (negative, H to the data area), uint32 count
//   count entries:          uint32 recordLength, uint32 offset, uint32 storedSize, uint32 flags,
//                           name (NUL-terminated), and, when recordLength leaves 4 or more bytes
//                           after the NUL, the CRC-32 of the member's file bytes (demo-pack writes it)
//   member bytes at H + base + offset: stored as they are (flags & 7 == 0), or (flags & 2) a uint32
//   uncompressed size followed by one NRV2B stream.
//
// The whole executable is read once per process, on the first member opened, and the directory is
// validated then: a directory that points outside the file makes every archive open give 262
// (ReadCorrupt) instead of reading past it.
//
// Loader contract: archive/loader_contract.h.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "archive/loader_contract.h"
#include "archive/reader.h"

namespace demo {

inline constexpr char ArchiveMagic[4] = {'V', 'O', 'R', 'K'};

// A text found in every executable of the engine (see archive.cpp), without its NUL.
extern const char EngineMarker[];

// The largest decompressed member accepted (1 GiB): no show needs more, and a corrupt size prefix
// must not make us allocate up to 4 GiB.
inline constexpr uint32_t MaxMemberSize = LoaderCaps::memberBytes;

enum ArchiveFlags : uint32_t {
  ArchiveStored = 0,
  ArchiveCompressed = 2,  // bit 1: NRV2B with a uint32 size prefix
};

// Whether the engine opens an entry with these flags; it passes over all others as if their name
// did not match.
inline bool usableMember(uint32_t flags) { return (flags & 7) == ArchiveStored || (flags & ArchiveCompressed); }

struct ArchiveEntry {
  std::string name;
  uint32_t offset = 0;      // from the start of the data area
  uint32_t storedSize = 0;  // bytes in the file, the size prefix of a compressed member included
  uint32_t flags = 0;
  bool hasCrc = false;
  uint32_t crc = 0;  // CRC-32 of the member's file bytes
  uint64_t start = 0;  // absolute position of the stored bytes
};

class Archive {
 public:
  // Probes the file for the trailing magic: 0, or 257/258/259/266. Reads nothing else yet.
  static int probe(const std::string& path, std::unique_ptr<Archive>& out);
  // The running executable's archive, probed on first use; null when it carries none.
  static const Archive* process();
  // An archive already in memory (tests, fuzzing): the probe's checks on the bytes given, which the
  // archive then owns. 0, 258 (fewer than 4 bytes) or 266.
  static int fromBytes(std::unique_ptr<uint8_t[]> bytes, uint32_t size, std::unique_ptr<Archive>& out);

  const std::string& path() const { return path_; }

  // Opens a member into the reader: 0, 257 (no usable entry of that name, ignoring ASCII case),
  // 262 (corrupt directory or member), or the code of loading the file itself.
  int openMember(const char* name, Reader& reader) const;

  // The directory in file order, or a status other than 0 when it cannot be read.
  int entries(std::vector<ArchiveEntry>& out) const;

 private:
  explicit Archive(std::string path) : path_(std::move(path)) {}
  int load() const;  // reads the file (unless it came as bytes) and the directory once

  std::string path_;
  mutable std::once_flag loadOnce_;
  mutable int loadStatus_ = 0;
  mutable Reader file_;
  mutable std::vector<ArchiveEntry> entries_;
};

// Decodes one NRV2B stream (8-bit variant) into exactly `size` bytes: 0 or 262. Never writes past
// the output buffer and never reads past the input (UCL itself may read a byte past a stream, so it
// decodes a padded copy).
int decompressNrv2b(const uint8_t* input, uint32_t inputSize, uint8_t* output, uint32_t size);

// The standard CRC-32 (polynomial 0xEDB88320, as in zlib and PNG).
uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// Whether two member names are the same to the archive: ASCII letters ignore case, and a slash
// matches a backslash, so a script naming "tex/logo.tga" finds the member "tex\logo.tga" that
// demo-pack makes of that file (as it finds the loose file on every platform). Nothing else is
// normalised: "./x" or "a//b" stay different names.
bool sameMemberName(const char* a, const char* b);

}  // namespace demo
