#pragma once
// Packing files into the appended archive: one member at a time (compressed or stored, with its
// CRC-32), then the data area, directory and trailer behind the executable's bytes. The layout is
// the one archive/archive.h reads. Throws std::runtime_error on failure.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/archive.h"

namespace demo {

// One member as it will lie in the archive.
struct PackedMember {
  std::string name;               // backslashes separate folders
  uint32_t flags = ArchiveStored;
  std::vector<uint8_t> stored;    // the bytes in the data area, a compressed member's size prefix included
  uint32_t originalSize = 0;
  std::optional<uint32_t> crc;    // CRC-32 of the file bytes; only hand-made test archives leave it out
  std::vector<uint8_t> recordTail;  // extra bytes after the CRC in the record (tests of other writers)
};

enum class PackMethod {
  Best,   // NRV2B at level 10 unless that gives no gain
  Store,  // always as they are
};

// Called from time to time while one member is compressed, with its input bytes consumed so far.
using PackProgress = std::function<void(uint64_t bytesDone)>;

// The best NRV2B compression of the bytes (UCL's level 10), without the size prefix.
std::vector<uint8_t> compressNrv2b(std::span<const uint8_t> bytes, const PackProgress& progress = {});

// Makes a member of a file's bytes. A compressed member is decoded again and compared before it is
// accepted, so a packer fault cannot ship a member the engine would reject.
PackedMember packMember(std::string name, std::span<const uint8_t> bytes, PackMethod method,
                        const PackProgress& progress = {});

// Appends the data area, the directory and the trailer behind `file`, which holds the executable.
// Throws when the archive would not fit the format's 32-bit fields or the engine's limits.
void appendArchive(std::vector<uint8_t>& file, const std::vector<PackedMember>& members);

}  // namespace demo
