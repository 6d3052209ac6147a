#include "demo_pack/pack_writer.h"

#include <cstring>
#include <limits>
#include <mutex>
#include <stdexcept>

#include <ucl/ucl.h>

namespace demo {

namespace {

void putLe32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void initialiseUcl() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (ucl_init() != UCL_E_OK) throw std::runtime_error("the UCL library cannot be initialised");
  });
}

void reportProgress(ucl_uint textSize, ucl_uint, int, ucl_voidp user) {
  (*static_cast<const PackProgress*>(user))(textSize);
}

uint32_t recordLength(const PackedMember& member) {
  return static_cast<uint32_t>(12 + member.name.size() + 1 + (member.crc ? 4 : 0) + member.recordTail.size());
}

}  // namespace

std::vector<uint8_t> compressNrv2b(std::span<const uint8_t> bytes, const PackProgress& progress) {
  initialiseUcl();
  if (bytes.size() > MaxMemberSize) throw std::runtime_error("too large to compress");
  const auto size = static_cast<ucl_uint>(bytes.size());
  // UCL's documented worst case for incompressible input.
  std::vector<uint8_t> out(size + size / 8 + 256);
  ucl_uint outSize = static_cast<ucl_uint>(out.size());
  ucl_progress_callback_t callback{reportProgress, const_cast<PackProgress*>(&progress)};
  const int result = ucl_nrv2b_99_compress(bytes.data(), size, out.data(), &outSize, progress ? &callback : nullptr,
                                           10, nullptr, nullptr);
  if (result != UCL_E_OK) throw std::runtime_error("NRV2B compression failed (UCL error " + std::to_string(result) + ")");
  out.resize(outSize);
  return out;
}

PackedMember packMember(std::string name, std::span<const uint8_t> bytes, PackMethod method,
                        const PackProgress& progress) {
  if (bytes.size() > MaxMemberSize) throw std::runtime_error("larger than the 1 GiB a member may hold");
  PackedMember member;
  member.name = std::move(name);
  member.originalSize = static_cast<uint32_t>(bytes.size());
  member.crc = crc32(bytes.data(), bytes.size());
  if (method == PackMethod::Best && !bytes.empty()) {
    std::vector<uint8_t> stream = compressNrv2b(bytes, progress);
    if (4 + stream.size() < bytes.size()) {
      std::vector<uint8_t> check(bytes.size());
      if (decompressNrv2b(stream.data(), static_cast<uint32_t>(stream.size()), check.data(), member.originalSize) !=
              ReadOk ||
          std::memcmp(check.data(), bytes.data(), bytes.size()) != 0)
        throw std::runtime_error("the compressed member does not decode to its bytes (a UCL fault)");
      member.flags = ArchiveCompressed;
      member.stored.reserve(4 + stream.size());
      putLe32(member.stored, member.originalSize);
      member.stored.insert(member.stored.end(), stream.begin(), stream.end());
      return member;
    }
  }
  member.flags = ArchiveStored;
  member.stored.assign(bytes.begin(), bytes.end());
  return member;
}

void appendArchive(std::vector<uint8_t>& file, const std::vector<PackedMember>& members) {
  constexpr uint64_t maxSigned = std::numeric_limits<int32_t>::max();
  uint64_t dataSize = 0, entriesSize = 0;
  for (const PackedMember& member : members) {
    if (member.name.empty() || member.name.find('\0') != std::string::npos)
      throw std::runtime_error("a member name must be non-empty text without NUL");
    dataSize += member.stored.size();
    entriesSize += 4 + static_cast<uint64_t>(recordLength(member));
  }
  // base and dirOffset are negative int32 distances, and the engine reads files below 4 GiB.
  if (dataSize > maxSigned || entriesSize + 12 > maxSigned || file.size() + dataSize + entriesSize + 20 > 0xFFFFFFFEu)
    throw std::runtime_error("the archive would be larger than its 32-bit directory can address");
  if (members.size() > std::numeric_limits<uint32_t>::max()) throw std::runtime_error("too many members");

  file.reserve(file.size() + dataSize + entriesSize + 20);
  uint32_t offset = 0;
  std::vector<uint8_t> directory;
  for (const PackedMember& member : members) {
    file.insert(file.end(), member.stored.begin(), member.stored.end());
    putLe32(directory, recordLength(member));
    putLe32(directory, offset);
    putLe32(directory, static_cast<uint32_t>(member.stored.size()));
    putLe32(directory, member.flags);
    directory.insert(directory.end(), member.name.begin(), member.name.end());
    directory.push_back(0);
    if (member.crc) putLe32(directory, *member.crc);
    directory.insert(directory.end(), member.recordTail.begin(), member.recordTail.end());
    offset += static_cast<uint32_t>(member.stored.size());
  }
  // Header: dirSize counts base, count and the entries, i.e. everything up to the trailer.
  putLe32(file, static_cast<uint32_t>(8 + directory.size()));
  putLe32(file, static_cast<uint32_t>(-static_cast<int64_t>(dataSize)));
  putLe32(file, static_cast<uint32_t>(members.size()));
  file.insert(file.end(), directory.begin(), directory.end());
  // dirOffset runs from its own position back to the header.
  putLe32(file, static_cast<uint32_t>(-static_cast<int64_t>(12 + directory.size())));
  file.insert(file.end(), ArchiveMagic, ArchiveMagic + 4);
}

}  // namespace demo
