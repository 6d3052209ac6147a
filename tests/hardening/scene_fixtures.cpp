#include "loader_fixtures.h"

#include "support/scene_samples.h"

namespace demo::test {

std::vector<Fixture> sceneFixtures() {
  std::vector<Fixture> out;
  Scene3ds sample = sampleScene();
  out.push_back({"sample.3ds", write3ds(sample)});
  sample.unknownChunks = true;
  out.push_back({"sample_unknown_chunks.3ds", write3ds(sample)});
  // A hierarchy five deep under one object, every node with keys on each of its tracks, and a mesh
  // without mapping coordinates or a matrix chunk (static models are exported so).
  Scene3ds chain;
  Mesh3ds bare;
  bare.name = "Bare";
  bare.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  bare.faces = {{0, 1, 2, 0}, {0, 3, 1, 0}, {0, 2, 3, 0}, {1, 3, 2, 0}};
  bare.matrix.reset();
  chain.meshes = {bare};
  chain.segment = {10, 60};
  for (uint16_t i = 0; i < 5; ++i) {
    Node3ds node;
    node.name = "Bare";
    node.parent = i == 0 ? 0xFFFF : static_cast<uint16_t>(i - 1);
    node.pivot = Float3{0.1f * i, 0, 0};
    node.tracks = {{PositionTrack3ds, {0, {key3(10, 0, 0, 0), key3(30, 1, 0, 0), key3(60, 0, 1, 0)}, {}}},
                   {RotationTrack3ds, {0, {rotationKey(10, 0.5f, 0, 0, 1), rotationKey(60, 1, 1, 0, 0)}, {}}},
                   {ScaleTrack3ds, {0, {key3(10, 1, 1, 1), key3(60, 2, 2, 2)}, {}}}};
    chain.nodes.push_back(node);
  }
  out.push_back({"chain.3ds", write3ds(chain)});
  return out;
}

}  // namespace demo::test
