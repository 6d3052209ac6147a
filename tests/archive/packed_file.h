#pragma once
// Archives made for one question: written by demo-pack's own writer behind a small stand-in
// executable, patched where a test needs a fault, and probed from a temporary file.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive/archive.h"
#include "demo_pack/pack_writer.h"
#include "support/testdata.h"

namespace demo::test {

std::vector<uint8_t> bytesOf(const std::string& text);
std::string textOf(const Reader& reader);

// A text that NRV2B shrinks well, so that packing it compresses.
std::string compressibleText(int lines);

PackedMember storedMember(const std::string& name, const std::string& text);
PackedMember compressedMember(const std::string& name, const std::string& text);

// The stand-in executable followed by the archive.
std::vector<uint8_t> archiveBytes(const std::vector<PackedMember>& members);

// Positions in an archive file, taken from its trailer.
struct ArchiveLayout {
  uint64_t header;      // H: the dirSize field
  uint64_t firstEntry;  // H + 12
  uint64_t dataArea;    // H + base
};
ArchiveLayout layoutOf(const std::vector<uint8_t>& bytes);
uint32_t le32At(const std::vector<uint8_t>& bytes, uint64_t position);
void putLe32At(std::vector<uint8_t>& bytes, uint64_t position, uint32_t value);

// Writes the bytes as `name` in the folder and probes them; null (with a test failure) when the
// probe does not succeed.
std::unique_ptr<Archive> probeBytes(const TempDir& dir, const std::vector<uint8_t>& bytes,
                                    const std::string& name = "show.bin");

}  // namespace demo::test
