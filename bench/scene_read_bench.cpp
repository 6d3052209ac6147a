// Reading 3DS files: the largest real file of the shared test data (a 7,172-face mesh) and a
// writer-made animated scene of 50 nodes, each from a Reader over the bytes, as loadscene reads.

#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "archive/reader.h"
#include "scene/scene_reader.h"
#include "support/testdata.h"
#include "writers/3ds_writer.h"

namespace {

using namespace demo;

void readFromBytes(benchmark::State& state, const std::vector<uint8_t>& file) {
  for (auto _ : state) {
    Reader reader;
    auto bytes = std::make_unique_for_overwrite<uint8_t[]>(file.size());
    std::memcpy(bytes.get(), file.data(), file.size());
    reader.assign(std::move(bytes), static_cast<uint32_t>(file.size()));
    RawScene scene;
    if (!readScene(reader, scene)) state.SkipWithError("the file was refused");
    benchmark::DoNotOptimize(scene.objects.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
}

void ReadLargestRealFile(benchmark::State& state) {
  const auto path = test::testdataDir() / "3ds" / "glmark2_horse.3ds";
  if (!std::filesystem::exists(path)) {
    state.SkipWithError("shared test data absent");
    return;
  }
  readFromBytes(state, test::readFile(path));
}
BENCHMARK(ReadLargestRealFile)->Unit(benchmark::kMicrosecond);

// 50 object nodes in a chain of tens, each with a 12-vertex mesh and ten keys on each track.
Scene3ds animatedScene() {
  Scene3ds s;
  s.segment = {0, 100};
  for (int i = 0; i < 50; ++i) {
    Mesh3ds mesh;
    mesh.name = "Part" + std::to_string(i);
    for (int v = 0; v < 12; ++v) mesh.vertices.push_back({float(v % 3), float(v / 3), float(i)});
    for (uint16_t f = 0; f + 2 < 12; ++f) mesh.faces.push_back({f, uint16_t(f + 1), uint16_t(f + 2), 0});
    s.meshes.push_back(mesh);
    Node3ds node;
    node.name = mesh.name;
    node.parent = i % 10 == 0 ? 0xFFFF : static_cast<uint16_t>(i - 1);
    Track3ds position, rotation, scale;
    for (uint32_t k = 0; k < 10; ++k) {
      position.keys.push_back(key3(k * 10, float(k), float(i), 0));
      rotation.keys.push_back(rotationKey(k * 10, 0.1f, 0, 0, 1));
      scale.keys.push_back(key3(k * 10, 1, 1, 1));
    }
    node.tracks = {{PositionTrack3ds, position}, {RotationTrack3ds, rotation}, {ScaleTrack3ds, scale}};
    s.nodes.push_back(node);
  }
  return s;
}

void ReadAnimatedScene(benchmark::State& state) { readFromBytes(state, write3ds(animatedScene())); }
BENCHMARK(ReadAnimatedScene)->Unit(benchmark::kMicrosecond);

}  // namespace
