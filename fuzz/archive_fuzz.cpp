// A whole file with an appended archive: the probe's magic check, the directory, then every usable
// member opened by name (stored and NRV2B-compressed, with their CRC-32 checks).

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "archive/archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFEu) return 0;
  auto bytes = std::make_unique<uint8_t[]>(size + 1);
  if (size) std::memcpy(bytes.get(), data, size);
  std::unique_ptr<demo::Archive> archive;
  if (demo::Archive::fromBytes(std::move(bytes), static_cast<uint32_t>(size), archive) != demo::ReadOk) return 0;
  std::vector<demo::ArchiveEntry> entries;
  if (archive->entries(entries) != demo::ReadOk) return 0;
  // Enough members to reach every path; a directory of thousands adds nothing but time.
  const size_t tried = entries.size() < 16 ? entries.size() : 16;
  for (size_t i = 0; i < tried; ++i) {
    demo::Reader reader;
    if (archive->openMember(entries[i].name.c_str(), reader) == demo::ReadOk && reader.size() != 0) {
      // Touch the first and last byte so that a wrong size shows up under ASan.
      volatile uint8_t sum = reader.data()[0] + reader.data()[reader.size() - 1];
      (void)sum;
    }
  }
  demo::Reader reader;
  archive->openMember("not-a-member", reader);
  return 0;
}
