#include "demo_pack/pack_inspect.h"

#include <cinttypes>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "archive/archive.h"
#include "cli/program.h"

namespace demo {

namespace {

std::unique_ptr<Archive> openArchive(const std::filesystem::path& path, std::vector<ArchiveEntry>& entries) {
  std::unique_ptr<Archive> archive;
  int status = Archive::probe(path.string(), archive);
  if (status == ReadBadMagic)
    throw std::runtime_error(path.string() + ": carries no archive (its last four bytes are not \"VORK\")");
  if (status != ReadOk) throw std::runtime_error(path.string() + ": cannot be read: " + describeStatus(status));
  status = archive->entries(entries);
  if (status != ReadOk) throw std::runtime_error(path.string() + ": bad archive directory: " + describeStatus(status));
  return archive;
}

const char* methodName(uint32_t flags) {
  if ((flags & 7) == ArchiveStored) return "stored";
  return (flags & ArchiveCompressed) ? "nrv2b" : "unusable";
}

// A compressed member's size prefix, read from the file; false when it lies outside.
bool originalSize(const Reader& file, const ArchiveEntry& entry, uint32_t& size) {
  if (entry.storedSize < 4 || entry.start + 4 > file.size()) return false;
  const uint8_t* p = file.data() + entry.start;
  size = static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) | static_cast<uint32_t>(p[3]) << 24;
  return true;
}

std::string listLine(const Reader& file, const ArchiveEntry& entry, uint64_t& original) {
  char sizeText[16] = "-", crcText[12] = "-", line[96];
  uint32_t size = entry.storedSize;
  if ((entry.flags & 7) == ArchiveStored || ((entry.flags & ArchiveCompressed) && originalSize(file, entry, size))) {
    std::snprintf(sizeText, sizeof sizeText, "%" PRIu32, size);
    original += size;
  } else if (entry.flags & ArchiveCompressed) {
    sizeText[0] = '?';  // the size prefix lies outside the file
  }
  if (entry.hasCrc) std::snprintf(crcText, sizeof crcText, "%08" PRIx32, entry.crc);
  std::snprintf(line, sizeof line, "%10" PRIu32 " %10s  %-8s %-8s  ", entry.storedSize, sizeText,
                methodName(entry.flags), crcText);
  return line + entry.name;
}

}  // namespace

std::string describeStatus(int status) {
  const char* words = "unknown status";
  switch (status) {
    case ReadOk: words = "ok"; break;
    case ReadNotFound: words = "not found"; break;
    case ReadSeekFailed: words = "seek failed"; break;
    case ReadShort: words = "short read"; break;
    case ReadNoData: words = "no data"; break;
    case ReadPastEnd: words = "read past the end"; break;
    case ReadCorrupt: words = "corrupt"; break;
    case ReadBadMagic: words = "no archive magic"; break;
  }
  return std::string(words) + " (" + std::to_string(status) + ")";
}

void listArchive(const std::filesystem::path& path, std::ostream& out) {
  std::vector<ArchiveEntry> entries;
  openArchive(path, entries);
  Reader file;
  const int status = file.openFile(path.string().c_str());
  if (status != ReadOk) throw std::runtime_error(path.string() + ": cannot be read: " + describeStatus(status));
  out << "    stored   original  method   crc       name\n";
  uint64_t stored = 0, original = 0;
  for (const ArchiveEntry& entry : entries) {
    out << listLine(file, entry, original) << '\n';
    stored += entry.storedSize;
  }
  out << cli::counted(entries.size(), "member") << ", " << stored << " bytes stored, " << original
      << " bytes original\n";
}

VerifyReport verifyArchive(const std::filesystem::path& path) {
  std::vector<ArchiveEntry> entries;
  const std::unique_ptr<Archive> archive = openArchive(path, entries);
  VerifyReport report;
  for (size_t i = 0; i < entries.size(); ++i) {
    const ArchiveEntry& entry = entries[i];
    if (!usableMember(entry.flags)) {
      ++report.skipped;
      continue;
    }
    bool hidden = false;
    for (size_t j = 0; j < i && !hidden; ++j)
      hidden = usableMember(entries[j].flags) && sameMemberName(entries[j].name.c_str(), entry.name.c_str());
    if (hidden) {
      report.failures.push_back(entry.name + ": hidden by an earlier member of the same name");
      continue;
    }
    Reader reader;
    const int status = archive->openMember(entry.name.c_str(), reader);
    if (status != ReadOk) {
      report.failures.push_back(entry.name + ": " + describeStatus(status));
      continue;
    }
    ++report.checked;
    if (!entry.hasCrc) ++report.withoutCrc;
  }
  return report;
}

}  // namespace demo
