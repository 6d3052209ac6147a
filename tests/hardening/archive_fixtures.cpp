#include "loader_fixtures.h"

#include <string>

#include "demo_pack/pack_writer.h"

namespace demo::test {

namespace {

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

std::string repeatedLines(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "at 0:" + std::to_string(i % 60) + ":000 showimage <logo> addalpha\n";
  return text;
}

// Bytes NRV2B can only partly shrink: short repeats among noise, so the stream mixes literals,
// near and far matches.
std::vector<uint8_t> mixedBytes(size_t size) {
  std::vector<uint8_t> out(size);
  uint32_t state = 1;
  for (size_t i = 0; i < size; ++i) {
    state = state * 214013u + 2531011u;
    out[i] = (state >> 16) % 2 == 0 && i >= 300 ? out[i - 300 + (state >> 20) % 5] : static_cast<uint8_t>(state >> 16);
  }
  return out;
}

std::vector<uint8_t> withArchive(const std::vector<PackedMember>& members) {
  std::vector<uint8_t> file = bytesOf("\x7f" "ELF stand-in for the engine");
  appendArchive(file, members);
  return file;
}

}  // namespace

std::vector<Fixture> archiveFixtures() {
  const std::string script = repeatedLines(40);
  PackedMember noCrc = packMember("plain.txt", bytesOf("no checksum in the record"), PackMethod::Store);
  noCrc.crc.reset();
  PackedMember unusable = packMember("skipped.bin", bytesOf("flags 4"), PackMethod::Store);
  unusable.flags = 4;
  return {
      {"stored_and_compressed.bin",
       withArchive({packMember("demo.run", bytesOf(script), PackMethod::Best),
                    packMember("logo.tga", bytesOf("stored bytes"), PackMethod::Store)})},
      {"folders_and_flags.bin",
       withArchive({packMember("tex\\wall.tga", mixedBytes(700), PackMethod::Best), noCrc, unusable,
                    packMember("empty.txt", {}, PackMethod::Store)})},
      {"empty_directory.bin", withArchive({})},
  };
}

std::vector<Fixture> nrv2bFixtures() {
  std::vector<Fixture> out;
  const auto add = [&](const std::string& name, const std::vector<uint8_t>& bytes) {
    PackedMember member = packMember(name, bytes, PackMethod::Best);
    if (member.flags == ArchiveCompressed) out.push_back({name, member.stored});
  };
  add("text.nrv", bytesOf(repeatedLines(30)));
  add("mixed.nrv", mixedBytes(1500));
  add("runs.nrv", std::vector<uint8_t>(5000, 0x55));
  return out;
}

}  // namespace demo::test
