// The scene's per-frame animation work: every node's position, rotation and scale track evaluated
// at one frame (the walk playscene does before drawing), and the same with each node's transform
// composed as the hierarchy walk composes it.
#include <cmath>
#include <vector>

#include <benchmark/benchmark.h>

#include "scene/matrix.h"
#include "scene/tracks.h"

namespace demo {
namespace {

constexpr int NodeCount = 50;

struct AnimatedNode {
  VectorTrack position;
  RotationTrack rotation;
  VectorTrack scale;
};

// Keys every few frames over a 400-frame segment, with a little of everything the spline takes.
std::vector<AnimatedNode> animatedScene(int keysPerTrack) {
  std::vector<AnimatedNode> nodes(NodeCount);
  for (int n = 0; n < NodeCount; ++n) {
    std::vector<VectorKey> position, scale;
    std::vector<RotationKey> rotation;
    for (int k = 0; k < keysPerTrack; ++k) {
      const auto frame = static_cast<uint32_t>(k * 400 / keysPerTrack);
      const float phase = 0.1f * static_cast<float>(n + k);
      position.push_back({frame, 0.1f, -0.2f, 0.3f, {std::sin(phase) * 50, std::cos(phase) * 20, phase}});
      scale.push_back({frame, 0, 0, 0, {1 + 0.1f * std::sin(phase), 1, 1 - 0.1f * std::cos(phase)}});
      rotation.push_back({frame, 0.2f, {std::sin(phase), 1, std::cos(phase)}});
    }
    nodes[n] = {buildVectorTrack(position), buildRotationTrack(rotation), buildVectorTrack(scale)};
  }
  return nodes;
}

void BM_EvaluateSceneTracks(benchmark::State& state) {
  const std::vector<AnimatedNode> nodes = animatedScene(static_cast<int>(state.range(0)));
  float frame = 0.0f;
  for (auto _ : state) {
    for (const AnimatedNode& node : nodes) {
      benchmark::DoNotOptimize(evalVector(node.position, frame));
      benchmark::DoNotOptimize(evalRotation(node.rotation, frame));
      benchmark::DoNotOptimize(evalVector(node.scale, frame));
    }
    frame = frame < 399.0f ? frame + 0.37f : 0.0f;  // frames over the whole segment
  }
  state.SetLabel("50 nodes, keys per track = arg");
}
BENCHMARK(BM_EvaluateSceneTracks)->Arg(10)->Arg(40)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_EvaluateSceneTransforms(benchmark::State& state) {
  const std::vector<AnimatedNode> nodes = animatedScene(static_cast<int>(state.range(0)));
  float frame = 0.0f;
  for (auto _ : state) {
    for (const AnimatedNode& node : nodes) {
      Matrix m = identityMatrix();
      preTranslate(m, evalVector(node.position, frame));
      m = multiply(quatToMatrix(evalRotation(node.rotation, frame)), m);
      preScale(m, evalVector(node.scale, frame));
      benchmark::DoNotOptimize(m);
    }
    frame = frame < 399.0f ? frame + 0.37f : 0.0f;
  }
  state.SetLabel("50 nodes, keys per track = arg");
}
BENCHMARK(BM_EvaluateSceneTransforms)->Arg(40)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace demo
