#include "archive/archive.h"

#include <cstdio>
#include <cstring>

#include "archive/executable_path.h"

namespace demo {

// The text every executable that can read its archive carries (this file is linked into each of
// them): demo-pack appends archives only to those. Kept by the compiler although nothing reads it.
[[gnu::used]] extern const char EngineMarker[] = "demo-engine: reads the archive appended to this file";

namespace {

uint32_t le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool sameMemberName(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x == '/') x = '\\';
    if (y == '/') y = '\\';
    if (x != y) return false;
    if (x == 0) return true;
  }
}

int Archive::probe(const std::string& path, std::unique_ptr<Archive>& out) {
  out.reset();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return ReadNotFound;
  if (std::fseek(file, -4, SEEK_END) != 0) {
    std::fclose(file);
    return ReadSeekFailed;
  }
  char magic[4];
  const size_t got = std::fread(magic, 1, 4, file);
  std::fclose(file);
  if (got != 4) return ReadShort;
  if (std::memcmp(magic, ArchiveMagic, 4) != 0) return ReadBadMagic;
  out.reset(new Archive(path));
  return ReadOk;
}

int Archive::fromBytes(std::unique_ptr<uint8_t[]> bytes, uint32_t size, std::unique_ptr<Archive>& out) {
  out.reset();
  // The same answers the probe gives for a file of these bytes.
  if (size < 4) return ReadSeekFailed;
  if (std::memcmp(bytes.get() + size - 4, ArchiveMagic, 4) != 0) return ReadBadMagic;
  out.reset(new Archive("(memory)"));
  out->file_.assign(std::move(bytes), size);
  return ReadOk;
}

const Archive* Archive::process() {
  // Probed once: the archive state never changes while the process runs.
  static const std::unique_ptr<Archive> archive = [] {
    std::unique_ptr<Archive> found;
    const std::string path = executablePath();
    if (!path.empty()) probe(path, found);
    return found;
  }();
  return archive.get();
}

int Archive::load() const {
  std::call_once(loadOnce_, [this] {
    if (!file_.loaded()) {
      loadStatus_ = file_.openFile(path_.c_str());
      if (loadStatus_ != ReadOk) return;
    }
    const uint8_t* bytes = file_.data();
    const uint64_t fileSize = file_.size();
    // Every position below is computed in 64 bits and checked before it is used.
    loadStatus_ = ReadCorrupt;
    if (fileSize < 8 || std::memcmp(bytes + fileSize - 4, ArchiveMagic, 4) != 0) return;
    const int64_t dirOffset = static_cast<int32_t>(le32(bytes + fileSize - 8));
    const int64_t header = static_cast<int64_t>(fileSize) - 8 + dirOffset;
    if (header < 0 || header + 12 > static_cast<int64_t>(fileSize) - 8) return;
    const int64_t base = static_cast<int32_t>(le32(bytes + header + 4));
    const uint32_t count = le32(bytes + header + 8);
    const int64_t dataArea = header + base;
    if (dataArea < 0 || dataArea > header) return;
    // An entry takes at least 17 bytes, which bounds the count before anything is reserved.
    const uint64_t directoryEnd = fileSize - 8;
    if (count > (directoryEnd - static_cast<uint64_t>(header) - 12) / 17) return;
    std::vector<ArchiveEntry> entries;
    entries.reserve(count);
    uint64_t at = static_cast<uint64_t>(header) + 12;
    for (uint32_t i = 0; i < count; ++i) {
      if (at + 4 > directoryEnd) return;
      const uint32_t recordLength = le32(bytes + at);
      if (recordLength < 13 || at + 4 + recordLength > directoryEnd) return;
      const uint8_t* record = bytes + at + 4;
      const auto* name = reinterpret_cast<const char*>(record + 12);
      const size_t nameSpace = recordLength - 12;
      const size_t nameLength = strnlen(name, nameSpace);
      if (nameLength == nameSpace) return;  // no NUL inside the record
      ArchiveEntry entry;
      entry.name.assign(name, nameLength);
      entry.offset = le32(record);
      entry.storedSize = le32(record + 4);
      entry.flags = le32(record + 8);
      if (nameSpace - nameLength - 1 >= 4) {
        entry.hasCrc = true;
        entry.crc = le32(record + 12 + nameLength + 1);
      }
      entry.start = static_cast<uint64_t>(dataArea) + entry.offset;
      entries.push_back(std::move(entry));
      at += 4 + static_cast<uint64_t>(recordLength);
    }
    entries_ = std::move(entries);
    loadStatus_ = ReadOk;
  });
  return loadStatus_;
}

int Archive::entries(std::vector<ArchiveEntry>& out) const {
  const int status = load();
  if (status == ReadOk) out = entries_;
  return status;
}

int Archive::openMember(const char* name, Reader& reader) const {
  const int status = load();
  if (status != ReadOk) return status;
  if (entries_.empty()) return ReadNotFound;
  for (const ArchiveEntry& entry : entries_) {
    if (!usableMember(entry.flags) || !sameMemberName(entry.name.c_str(), name)) continue;
    // 64-bit sums: offset + storedSize may wrap in 32 bits, and must not reach past the file.
    if (entry.start + entry.storedSize > file_.size()) return ReadCorrupt;
    const uint8_t* stored = file_.data() + entry.start;
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size;
    if ((entry.flags & 7) == ArchiveStored) {
      size = entry.storedSize;
      bytes = std::make_unique<uint8_t[]>(size + 1u);
      std::memcpy(bytes.get(), stored, size);
    } else {
      if (entry.storedSize < 4) return ReadCorrupt;
      size = le32(stored);
      // NRV2B's gamma-coded match lengths let a few bytes stand for megabytes, so the ratio bounds
      // nothing; a fixed cap keeps a lying prefix from allocating gigabytes.
      if (size > MaxMemberSize) return ReadCorrupt;
      // Not zeroed: the decoder writes every byte it reports, and a prefix that lies about the size
      // then costs address space only, not the time of clearing up to a gigabyte.
      bytes = std::make_unique_for_overwrite<uint8_t[]>(size + 1u);
      bytes[size] = 0;
      if (decompressNrv2b(stored + 4, entry.storedSize - 4, bytes.get(), size) != ReadOk) return ReadCorrupt;
    }
    if (entry.hasCrc && crc32(bytes.get(), size) != entry.crc) return ReadCorrupt;
    reader.assign(std::move(bytes), size);
    return ReadOk;
  }
  return ReadNotFound;
}

}  // namespace demo
