// The metaballs' per-frame CPU work on the show's 40-cell grid: the surface alone (field values,
// normals, the flood and the cutting of cells, no batches), and the whole draw with its batches on
// the recording device. The counters say how much of the grid a frame touches: a full scan would
// evaluate all 43^3 = 79,507 grid points and look at all 64,000 cells.

#include <benchmark/benchmark.h>

#include "fx/blob_system.h"
#include "gfx/device_layer.h"
#include "support/recording_device.h"

namespace {

using namespace demo;

// A frame every 1/60 s of demo time, in phase units (milliseconds x 0.003).
constexpr float PhasePerFrame = 1000.0f / 60.0f * 0.003f;

class CountingSurface final : public BlobSurface {
 public:
  void addCell(int count, const SurfaceVertex*, const int8_t*) override { vertices += static_cast<uint32_t>(count); }
  void flush() override {}
  uint32_t vertices = 0;
};

void reportWork(benchmark::State& state, double values, double normals, double cells, double vertices) {
  const double frames = static_cast<double>(state.iterations());
  state.counters["points/frame"] = values / frames;
  state.counters["normals/frame"] = normals / frames;
  state.counters["cells/frame"] = cells / frames;
  state.counters["vertices/frame"] = vertices / frames;
}

void surfaceOnly(benchmark::State& state) {
  BlobSystem system;
  if (!system.initialise()) {
    state.SkipWithError("no memory for the grid");
    return;
  }
  CountingSurface surface;
  surface.allocateGrid(BlobSystem::Cells, BlobSystem::Cells, BlobSystem::Cells);
  surface.threshold = system.batch->threshold;
  surface.boundsMin = system.batch->boundsMin;
  surface.boundsMax = system.batch->boundsMax;
  system.batch->clearSources();
  for (BlobSource& ball : system.balls) surface.addSource(ball);
  float phase = 0.0f;
  double values = 0, normals = 0, cells = 0;
  for (auto _ : state) {
    moveBalls(phase, system.balls);
    surface.extract();
    values += surface.work().values;
    normals += surface.work().normals;
    cells += surface.work().cells;
    phase += PhasePerFrame;
  }
  reportWork(state, values, normals, cells, surface.vertices);
  surface.clearSources();
}
BENCHMARK(surfaceOnly)->Unit(benchmark::kMicrosecond);

// drawBlobs as playblobs calls it, the recording device's log emptied every frame.
void wholeDraw(benchmark::State& state) {
  auto* d3d = new test::RecordingDirect3D;
  {
    DeviceLayer layer(test::recordingDirect3DFactory, d3d);
    layer.createDevice(nullptr, 640, 480, 32, 1);
    test::RecordingDevice& device = *d3d->lastDevice;
    std::unique_ptr<BlobSystem> system = createBlobSystem(layer);
    Image image;
    if (!system) {
      state.SkipWithError("no blob system");
    } else {
      float phase = 0.0f;
      double values = 0, normals = 0, cells = 0, vertices = 0;
      for (auto _ : state) {
        system->drawBlobs(layer, phase, image);
        values += system->batch->work().values;
        normals += system->batch->work().normals;
        cells += system->batch->work().cells;
        for (const auto& draw : device.draws) vertices += draw.numVertices;
        device.clearLog();
        phase += PhasePerFrame;
      }
      // Each batch is drawn twice, solid and wireframe.
      reportWork(state, values, normals, cells, vertices / 2);
    }
  }
  d3d->Release();
}
BENCHMARK(wholeDraw)->Unit(benchmark::kMicrosecond);

}  // namespace
