// Writes the seed corpora of the fuzz targets: the writer-made fixtures of the damage sweep, one
// file each, into <folder>/<format>/. Run after a fixture changes and commit the result:
//   build/fuzz/fuzz/write_seeds fuzz/corpus

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "loader_fixtures.h"

namespace {

void writeAll(const std::filesystem::path& folder, const std::vector<demo::test::Fixture>& fixtures) {
  std::filesystem::create_directories(folder);
  for (const auto& fixture : fixtures) {
    std::ofstream out(folder / fixture.name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(fixture.bytes.data()), static_cast<std::streamsize>(fixture.bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + (folder / fixture.name).string());
  }
  std::printf("%s: %zu seeds\n", folder.string().c_str(), fixtures.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_seeds CORPUS_FOLDER\n");
    return 2;
  }
  const std::filesystem::path root = argv[1];
  writeAll(root / "archive", demo::test::archiveFixtures());
  writeAll(root / "nrv2b", demo::test::nrv2bFixtures());
  writeAll(root / "xm", demo::test::xmFixtures());
  writeAll(root / "script", demo::test::scriptFixtures());
  writeAll(root / "tga", demo::test::tgaFixtures());
  writeAll(root / "3ds", demo::test::sceneFixtures());
  return 0;
}
