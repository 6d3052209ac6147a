// The browser's texture uploads: WebGL 2 takes no texture swizzles, so every upload of a changed
// texture (the blurred images change every frame) reorders its texels on the CPU first.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/gl/gl_texture.h"

namespace {

void reorder(benchmark::State& state, demo::D3DFORMAT format, size_t bytesPerTexel) {
  const size_t texels = 256 * 256;
  std::vector<uint8_t> bits(texels * bytesPerTexel);
  for (size_t i = 0; i < bits.size(); ++i) bits[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> out;
  for (auto _ : state) {
    demo::reorderTexels(format, bits.data(), texels, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bits.size()));
}

void BM_ReorderA8R8G8B8_256(benchmark::State& state) { reorder(state, demo::D3DFMT_A8R8G8B8, 4); }
void BM_ReorderA4R4G4B4_256(benchmark::State& state) { reorder(state, demo::D3DFMT_A4R4G4B4, 2); }

BENCHMARK(BM_ReorderA8R8G8B8_256);
BENCHMARK(BM_ReorderA4R4G4B4_256);

}  // namespace
