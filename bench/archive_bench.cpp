// Opening a show's files from the appended archive: a 3 MB archive of 50 members shaped like a
// show's data (a script, images, music samples, meshes; mixed stored and NRV2B-compressed).

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "archive/archive.h"
#include "demo_pack/pack_writer.h"
#include "support/testdata.h"

namespace demo {
namespace {

// The show's own generator (the C runtime's rand), so the contents are the same on every run.
struct Rand {
  uint32_t state = 1;
  int next() { return static_cast<int>((state = state * 214013 + 2531011) >> 16 & 0x7FFF); }
};

std::vector<uint8_t> image(int index, Rand& rand) {
  std::vector<uint8_t> bytes(18 + 128 * 128 * 4);  // a 32-bit 128 x 128 TGA
  for (size_t i = 18; i < bytes.size(); ++i) {
    const int pixel = static_cast<int>(i - 18) / 4, x = pixel % 128, y = pixel / 128;
    // A smooth gradient with sparse dither, as drawn textures are.
    const int dither = (rand.next() & 7) == 0 ? rand.next() & 3 : 0;
    bytes[i] = static_cast<uint8_t>(((x * (index + 1)) / 4 + y + (i & 3) * 40) ^ dither);
  }
  return bytes;
}

std::vector<uint8_t> samples(int index, Rand& rand) {
  std::vector<uint8_t> bytes(160 * 1024);  // delta-coded 8-bit samples: tones plus noise
  int previous = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int value = static_cast<int>(60 * std::sin(i * 0.01 * (index + 1))) + (rand.next() & 7) - 4;
    bytes[i] = static_cast<uint8_t>(value - previous);
    previous = value;
  }
  return bytes;
}

std::vector<uint8_t> mesh(int index, Rand& rand) {
  std::vector<float> vertices(7 * 1024);  // 28 KB of coordinates on a lumpy sphere
  for (size_t i = 0; i < vertices.size(); ++i)
    vertices[i] = static_cast<float>(std::cos(i * 0.05 + index) * (10 + (rand.next() & 3)));
  const auto* raw = reinterpret_cast<const uint8_t*>(vertices.data());
  return {raw, raw + vertices.size() * sizeof(float)};
}

struct ShowArchive {
  test::TempDir dir;
  std::string path;
  std::vector<std::string> names;
  std::vector<PackedMember> compressed;
  uint64_t bytes = 0, storedBytes = 0;

  ShowArchive() {
    Rand rand;
    std::vector<PackedMember> members;
    std::string script;
    for (int i = 0; i < 150; ++i) script += "at +0:00:" + std::to_string(i * 37 % 1000) + " showimage <img" +
                                            std::to_string(i % 24) + "> addalpha +0:02:000\n";
    members.push_back(packMember("demo.run", {reinterpret_cast<const uint8_t*>(script.data()), script.size()},
                                 PackMethod::Best));
    // Every fifth image stored, as a packer told to leave some alone would.
    for (int i = 0; i < 24; ++i)
      members.push_back(packMember("tex\\img" + std::to_string(i) + ".tga", image(i, rand),
                                   i % 5 == 0 ? PackMethod::Store : PackMethod::Best));
    for (int i = 0; i < 6; ++i)
      members.push_back(packMember("music\\song" + std::to_string(i) + ".xm", samples(i, rand), PackMethod::Best));
    for (int i = 0; i < 19; ++i)
      members.push_back(packMember("scene\\mesh" + std::to_string(i) + ".3ds", mesh(i, rand), PackMethod::Best));
    for (const PackedMember& member : members) {
      names.push_back(member.name);
      bytes += member.originalSize;
      storedBytes += member.stored.size();
      if (member.flags == ArchiveCompressed) compressed.push_back(member);
    }
    std::vector<uint8_t> file(400 * 1024, 0x90);  // the engine's own image in front
    appendArchive(file, members);
    path = (dir / "show").string();
    test::writeFile(path, file);
  }
};

ShowArchive& show() {
  static ShowArchive archive;
  return archive;
}

void counters(benchmark::State& state, uint64_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["members"] = static_cast<double>(show().names.size());
  state.counters["compressed"] = static_cast<double>(show().compressed.size());
  state.counters["MB"] = show().bytes / 1e6;
  state.counters["packed%"] = 100.0 * show().storedBytes / show().bytes;
}

// All 50 members from an archive already read into memory: what start-up pays per file.
void BM_OpenAllMembers(benchmark::State& state) {
  std::unique_ptr<Archive> archive;
  Archive::probe(show().path, archive);
  Reader reader;
  archive->openMember("demo.run", reader);
  for (auto _ : state) {
    for (const std::string& name : show().names) {
      Reader member;
      if (archive->openMember(name.c_str(), member) != ReadOk) state.SkipWithError("member did not open");
      benchmark::DoNotOptimize(member.data());
    }
  }
  counters(state, show().bytes);
}
BENCHMARK(BM_OpenAllMembers)->Unit(benchmark::kMillisecond);

// The same with the probe and the one read of the file included (from the page cache).
void BM_OpenAllMembersFromTheFile(benchmark::State& state) {
  for (auto _ : state) {
    std::unique_ptr<Archive> archive;
    Archive::probe(show().path, archive);
    for (const std::string& name : show().names) {
      Reader member;
      if (archive->openMember(name.c_str(), member) != ReadOk) state.SkipWithError("member did not open");
    }
  }
  counters(state, show().bytes);
}
BENCHMARK(BM_OpenAllMembersFromTheFile)->Unit(benchmark::kMillisecond);

// UCL's safe NRV2B decoder alone, over every compressed member; bytes are decompressed bytes.
void BM_Nrv2bDecompress(benchmark::State& state) {
  uint64_t total = 0;
  for (const PackedMember& member : show().compressed) total += member.originalSize;
  std::vector<uint8_t> output(MaxMemberSize / 1024);
  for (auto _ : state) {
    for (const PackedMember& member : show().compressed) {
      const int status = decompressNrv2b(member.stored.data() + 4, static_cast<uint32_t>(member.stored.size() - 4),
                                         output.data(), member.originalSize);
      if (status != ReadOk) state.SkipWithError("stream did not decode");
    }
    benchmark::DoNotOptimize(output.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
}
BENCHMARK(BM_Nrv2bDecompress)->Unit(benchmark::kMillisecond);

// The same decoder over real files of the kinds a show packs (XM, 3DS, TGA), when the shared test
// data is present.
void BM_Nrv2bDecompressRealFiles(benchmark::State& state) {
  std::vector<std::vector<uint8_t>> files;
  for (const char* kind : {"xm", "3ds", "tga"})
    for (const auto& path : test::testdataFiles(kind, {".xm", ".3ds", ".tga"})) files.push_back(test::readFile(path));
  if (files.empty()) {
    state.SkipWithError("shared test data not found");
    return;
  }
  std::vector<PackedMember> members;
  uint64_t total = 0;
  for (const auto& bytes : files) {
    PackedMember member = packMember("f", bytes, PackMethod::Best);
    if (member.flags != ArchiveCompressed) continue;
    total += member.originalSize;
    members.push_back(std::move(member));
  }
  std::vector<uint8_t> output(MaxMemberSize / 256);
  for (auto _ : state) {
    for (const PackedMember& member : members)
      decompressNrv2b(member.stored.data() + 4, static_cast<uint32_t>(member.stored.size() - 4), output.data(),
                      member.originalSize);
    benchmark::DoNotOptimize(output.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total));
  state.counters["files"] = static_cast<double>(members.size());
}
BENCHMARK(BM_Nrv2bDecompressRealFiles)->Unit(benchmark::kMillisecond);

// The integrity check every open pays.
void BM_Crc32(benchmark::State& state) {
  Rand rand;
  const std::vector<uint8_t> bytes = samples(0, rand);
  for (auto _ : state) benchmark::DoNotOptimize(crc32(bytes.data(), bytes.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_Crc32);

}  // namespace
}  // namespace demo
