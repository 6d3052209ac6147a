// Hot paths of the 2D layers: a blur level change on a 512 x 512 image (what blurimage and
// spackblurimage pay on each change; one pass over the 1 MB source), the two blur paths side by
// side, and the 2D blob field's per-frame work on a 64 x 64 grid without the drawing. Then a
// particle system's frame with 5,000 live sprites, and the tunnel's rays on a 64 x 64 grid, the two
// row paths side by side.

#include <vector>

#include <benchmark/benchmark.h>

#include "fx/blobs_2d.h"
#include "fx/blur_rows.h"
#include "fx/image.h"
#include "fx/particle_system.h"
#include "fx/tunnel.h"
#include "fx/tunnel_rows.h"
#include "gfx/device_layer.h"
#include "support/recording_device.h"

namespace {

using namespace demo;

constexpr uint32_t Side = 512;

std::vector<uint8_t> noise() {
  std::vector<uint8_t> pixels(Side * Side * 4);
  uint32_t seed = 1;
  for (uint8_t& byte : pixels) {
    seed = seed * 214013 + 2531011;
    byte = static_cast<uint8_t>(seed >> 16);
  }
  return pixels;
}

void setPixelsPerSecond(benchmark::State& state) {
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(Side) * Side * double(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

// setBlurLevel on an image of the recording device, whose textures live in memory as a managed
// texture's system copy does: locks, blur, unlocks, alternating between levels 10 and 11.
void levelChange(benchmark::State& state, uint8_t alphaFlag) {
  auto* d3d = new test::RecordingDirect3D;
  {
    DeviceLayer layer(test::recordingDirect3DFactory, d3d);
    layer.createDevice(nullptr, 640, 480, 32, 1);
    Texture* source = nullptr;
    layer.device()->CreateTexture(Side, Side, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source);
    D3DLOCKED_RECT rect{};
    source->LockRect(0, &rect, nullptr, 0);
    const std::vector<uint8_t> pixels = noise();
    std::copy(pixels.begin(), pixels.end(), static_cast<uint8_t*>(rect.pBits));
    source->UnlockRect(0);
    {
      Image image;
      if (!image.initImage(layer, source, alphaFlag, 0, 0, 1, 1)) state.SkipWithError("no image");
      int32_t level = 10;
      for (auto _ : state) {
        level ^= 1;
        setBlurLevel(image, level);
      }
    }
    source->Release();
  }
  d3d->Release();
  setPixelsPerSecond(state);
}

void BM_BlurLevelChange565(benchmark::State& state) { levelChange(state, 0); }
void BM_BlurLevelChange4444(benchmark::State& state) { levelChange(state, 1); }

// The kernels alone at level 10, both output layouts.
void blurPath(benchmark::State& state, decltype(&blurRowsScalar) path) {
  const std::vector<uint8_t> source = noise();
  std::vector<uint8_t> destination(Side * Side * 2);
  const auto layout = state.range(0) ? BlurLayout::A4R4G4B4 : BlurLayout::R5G6B5;
  for (auto _ : state) {
    path(destination.data(), Side * 2, source.data(), Side * 4, Side, Side, 10, layout);
    benchmark::DoNotOptimize(destination.data());
  }
  setPixelsPerSecond(state);
}

void BM_BlurRowsScalar(benchmark::State& state) { blurPath(state, blurRowsScalar); }
#if defined(__SSE2__)
void BM_BlurRowsSse2(benchmark::State& state) { blurPath(state, blurRowsSse2); }
BENCHMARK(BM_BlurRowsSse2)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
#endif

// One frame of show2dblobs without the draw calls: blob paths, 67 x 67 field cells, 65 x 65
// vertices with their colours and warped texture coordinates.
void BM_Blobs2DFrame(benchmark::State& state) {
  GridImage grid(64, 64, 0, 0, 1, 1);
  Blobs2D field(grid);
  float s = 0.0f;
  for (auto _ : state) {
    field.update(s);
    s += 0.16f;  // 16 ms of show
    benchmark::DoNotOptimize(grid.vertices.data());
  }
}

// One frame of a particle system with 5,000 live particles: moving them, writing their 20,000
// vertices through the node's matrix into the locked vertex buffer, and the births. With the index
// buffer taken away nothing is drawn, so the figure is the system's own CPU work alone; with it, the
// recording device's copy of each draw (a stand-in for the GPU upload) is counted too.
void particlesFrame(benchmark::State& state, bool drawCalls) {
  auto* d3d = new test::RecordingDirect3D;
  {
    DeviceLayer layer(test::recordingDirect3DFactory, d3d);
    layer.createDevice(nullptr, 640, 480, 32, 1);
    Image sprite;
    sprite.width = sprite.height = 0.1f;
    ParticleSystem system(&sprite, 5000);
    system.createBuffers(*layer.device());
    if (!drawCalls) {
      system.indexBuffer->Release();
      system.indexBuffer = nullptr;
    }
    system.lifeMin = system.lifeMax = 1e6f;
    Random random;
    system.birthInterval = 0.004f;  // one birth every 4 ms tried, none possible: the pool is full
    system.restart(0.0f);
    for (int i = 0; i < 5000; ++i) system.spawnOne(random);
    layer.topTransform() = {{0.5f, 0, 0, 0, 0, 0.5f, 0.2f, 0, 0, -0.2f, 0.5f, 0, 1, 2, 30, 1}};
    auto* recording = static_cast<test::RecordingDevice*>(layer.device());
    uint32_t demoTime = 0;
    for (auto _ : state) {
      demoTime += 16;
      SceneDraw pass{layer, random, demoTime};
      system.draw(pass);
      if (drawCalls) recording->clearLog();
    }
    if (system.liveCount() != 5000) state.SkipWithError("particles died");
  }
  d3d->Release();
}

void BM_Particles5000(benchmark::State& state) { particlesFrame(state, false); }
void BM_Particles5000WithDrawCalls(benchmark::State& state) { particlesFrame(state, true); }

// One frame of showtunnel without the drawing: the camera's basis and 4,225 rays, each with a
// square root and an arc tangent, from an eye inside the tube that flies and rolls.
void BM_TunnelCast64(benchmark::State& state) {
  GridImage grid(64, 64, 0, 0, 1, 1);
  float z = 0.0f;
  for (auto _ : state) {
    z += 40.0f;
    castTunnel(grid, {120.0f, -80.0f, z}, {60.0f, 30.0f, z + 500.0f}, z * 1e-4f, 1000.0f);
    benchmark::DoNotOptimize(grid.vertices.data());
  }
  state.counters["rays/s"] = benchmark::Counter(4225.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The rays of the 64 x 64 grid alone on each path, from a fixed camera inside the tube: the portable
// path against four rays at a time.
template <typename CastRow>
void tunnelRows(benchmark::State& state, CastRow castRow) {
  GridImage grid(64, 64, 0, 0, 1, 1);
  const Vec3 eye{120.0f, -80.0f, 40.0f};
  TunnelRays rays;
  tunnelRays(eye, {60.0f, 30.0f, 540.0f}, 0.3f, rays);
  TunnelRow row{rays.a, rays.b, rays.c, 0.0f, 1.0f / 64.0f, eye, 4.0f * (eye.x * eye.x + eye.y * eye.y) - 1e6f};
  for (auto _ : state) {
    for (int32_t i = 0; i <= 64; ++i) {
      row.fb = 1.0f - static_cast<float>(i) / 64.0f;
      castRow(row, &grid.vertices[static_cast<size_t>(i) * 65]);
    }
    benchmark::DoNotOptimize(grid.vertices.data());
  }
  state.counters["rays/s"] = benchmark::Counter(4225.0 * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TunnelRowsScalar(benchmark::State& state) {
  tunnelRows(state, [](const TunnelRow& row, GridVertex* vertices) { castRowScalar(row, vertices, 0, 65); });
}
BENCHMARK(BM_TunnelRowsScalar)->Unit(benchmark::kMicrosecond);
#if defined(__SSE2__)
void BM_TunnelRowsSse2(benchmark::State& state) {
  tunnelRows(state, [](const TunnelRow& row, GridVertex* vertices) { castRow(row, vertices, 65); });
}
BENCHMARK(BM_TunnelRowsSse2)->Unit(benchmark::kMicrosecond);
#endif

BENCHMARK(BM_BlurLevelChange565)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlurLevelChange4444)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BlurRowsScalar)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Blobs2DFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Particles5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Particles5000WithDrawCalls)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TunnelCast64)->Unit(benchmark::kMicrosecond);

}  // namespace
