#include "packed_file.h"

#include <gtest/gtest.h>

namespace demo::test {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::string textOf(const Reader& reader) {
  return std::string(reinterpret_cast<const char*>(reader.data()), reader.size());
}

std::string compressibleText(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "at 0:" + std::to_string(i % 60) + ":000 showimage <logo> addalpha\n";
  return text;
}

PackedMember storedMember(const std::string& name, const std::string& text) {
  return packMember(name, bytesOf(text), PackMethod::Store);
}

PackedMember compressedMember(const std::string& name, const std::string& text) {
  PackedMember member = packMember(name, bytesOf(text), PackMethod::Best);
  EXPECT_EQ(member.flags, ArchiveCompressed) << name << " did not compress";
  return member;
}

std::vector<uint8_t> archiveBytes(const std::vector<PackedMember>& members) {
  std::vector<uint8_t> bytes = bytesOf("\x7f" "ELF stand-in for the engine");
  appendArchive(bytes, members);
  return bytes;
}

uint32_t le32At(const std::vector<uint8_t>& bytes, uint64_t position) {
  return static_cast<uint32_t>(bytes.at(position) | bytes.at(position + 1) << 8 | bytes.at(position + 2) << 16) |
         static_cast<uint32_t>(bytes.at(position + 3)) << 24;
}

void putLe32At(std::vector<uint8_t>& bytes, uint64_t position, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(position + i) = static_cast<uint8_t>(value >> (8 * i));
}

ArchiveLayout layoutOf(const std::vector<uint8_t>& bytes) {
  const uint64_t trailer = bytes.size() - 8;
  const uint64_t header = trailer + static_cast<int32_t>(le32At(bytes, trailer));
  return {header, header + 12, header + static_cast<int32_t>(le32At(bytes, header + 4))};
}

std::unique_ptr<Archive> probeBytes(const TempDir& dir, const std::vector<uint8_t>& bytes, const std::string& name) {
  writeFile(dir / name, bytes);
  std::unique_ptr<Archive> archive;
  EXPECT_EQ(Archive::probe((dir / name).string(), archive), ReadOk);
  return archive;
}

}  // namespace demo::test
