// One frame of a 50-node animated scene as playscene draws it (setupCamera + drawScene): the camera,
// two lights, every track evaluated, 50 meshes in two passes. On the recording device, so that the
// figure is the engine's CPU time plus the device's logging (which copies every draw's vertices and
// state tables), without a GPU; and on a device that takes every call and does nothing, which leaves
// the engine's own share.

#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "archive/reader.h"
#include "platform/memory_resources.h"
#include "fx/random.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "support/recording_device.h"
#include "support/scene_files.h"
#include "writers/3ds_writer.h"

namespace {

using namespace demo;

// 50 object nodes in five chains of ten, each with a 24-face mesh and ten keys on each track; a
// camera with a target, and two lights, all animated.
Scene3ds animatedScene() {
  Scene3ds s;
  s.segment = {0, 100};
  Material3ds paint;
  paint.name = "Paint";
  paint.diffuse = {0.8f, 0.5f, 0.2f};
  s.materials = {paint};
  for (int i = 0; i < 50; ++i) {
    Mesh3ds mesh;
    mesh.name = "Part" + std::to_string(i);
    for (int v = 0; v < 26; ++v) mesh.vertices.push_back({float(v % 5), float(v / 5), float(i)});
    for (uint16_t f = 0; f < 24; ++f) mesh.faces.push_back({f, uint16_t(f + 1), uint16_t(f + 2), 0});
    mesh.groups = {{"Paint", std::vector<uint16_t>(1, 0)}};
    s.meshes.push_back(mesh);
    Node3ds node;
    node.name = mesh.name;
    node.parent = i % 10 == 0 ? 0xFFFF : static_cast<uint16_t>(i - 1);
    Track3ds position, rotation, scale;
    for (uint32_t k = 0; k < 10; ++k) {
      position.keys.push_back(key3(k * 10, float(k), 1, 0));
      rotation.keys.push_back(rotationKey(k * 10, 0.1f, 0, 0, 1));
      scale.keys.push_back(key3(k * 10, 1, 1, 1));
    }
    node.tracks = {{PositionTrack3ds, position}, {RotationTrack3ds, rotation}, {ScaleTrack3ds, scale}};
    s.nodes.push_back(node);
  }
  s.cameras = {{"Cam", {0, -50, 20}, {0, 0, 0}, 0, 50}};
  Node3ds camera, target;
  camera.chunk = 0xB003;
  camera.name = target.name = "Cam";
  target.chunk = 0xB004;
  camera.tracks = {{PositionTrack3ds, {0, {key3(0, 0, -50, 20), key3(50, 30, -40, 20), key3(100, 0, -50, 20)}, {}}},
                   {FovTrack3ds, {0, {key1(0, 45), key1(100, 60)}, {}}},
                   {RollTrack3ds, {0, {key1(0, 0), key1(100, 20)}, {}}}};
  target.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0), key3(100, 5, 5, 5)}, {}}}};
  s.nodes.push_back(camera);
  s.nodes.push_back(target);
  for (int i = 0; i < 2; ++i) {
    Light3ds light;
    light.name = "Lamp" + std::to_string(i);
    s.lights.push_back(light);
    Node3ds node;
    node.chunk = 0xB005;
    node.name = light.name;
    node.tracks = {{PositionTrack3ds, {0, {key3(0, 10, 0, 10), key3(100, -10, 0, 10)}, {}}},
                   {ColourTrack3ds, {0, {key3(0, 1, 1, 1), key3(100, 1, 0, 0)}, {}}}};
    s.nodes.push_back(node);
  }
  return s;
}

// Accepts everything and keeps nothing (textures excepted, which the layer may lock).
class NullDevice final : public RefCounted<RenderDevice> {
 public:
  HResult Clear(uint32_t, const D3DRECT*, uint32_t, D3DCOLOR, float, uint32_t) override { return D3D_OK; }
  HResult BeginScene() override { return D3D_OK; }
  HResult EndScene() override { return D3D_OK; }
  HResult Present() override { return D3D_OK; }
  HResult SetRenderState(D3DRENDERSTATETYPE, uint32_t) override { return D3D_OK; }
  HResult SetTextureStageState(uint32_t, D3DTEXTURESTAGESTATETYPE, uint32_t) override { return D3D_OK; }
  HResult SetTexture(uint32_t, Texture*) override { return D3D_OK; }
  HResult SetTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override { return D3D_OK; }
  HResult SetMaterial(const D3DMATERIAL8*) override { return D3D_OK; }
  HResult SetLight(uint32_t, const D3DLIGHT8*) override { return D3D_OK; }
  HResult LightEnable(uint32_t, bool) override { return D3D_OK; }
  HResult SetVertexShader(uint32_t) override { return D3D_OK; }
  HResult DrawPrimitiveUP(D3DPRIMITIVETYPE, uint32_t, const void*, uint32_t) override { return D3D_OK; }
  HResult DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, uint32_t, uint32_t, uint32_t, const void* indices, D3DFORMAT,
                                 const void*, uint32_t) override {
    benchmark::DoNotOptimize(indices);
    return D3D_OK;
  }
  HResult SetStreamSource(uint32_t, VertexBuffer*, uint32_t) override { return D3D_OK; }
  HResult SetIndices(IndexBuffer*, uint32_t) override { return D3D_OK; }
  HResult DrawIndexedPrimitive(D3DPRIMITIVETYPE, uint32_t, uint32_t, uint32_t, uint32_t) override { return D3D_OK; }
  HResult CreateTexture(uint32_t w, uint32_t h, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                        Texture** texture) override {
    *texture = MemoryTexture::create(w, h, levels, usage, format, pool);
    return *texture ? D3D_OK : D3DERR_INVALIDCALL;
  }
  HResult UpdateTexture(Texture*, Texture*) override { return D3D_OK; }
  HResult CreateVertexBuffer(uint32_t, uint32_t, uint32_t, D3DPOOL, VertexBuffer**) override {
    return D3DERR_INVALIDCALL;
  }
  HResult CreateIndexBuffer(uint32_t, uint32_t, D3DFORMAT, D3DPOOL, IndexBuffer**) override {
    return D3DERR_INVALIDCALL;
  }
};

class NullDirect3D final : public RefCounted<Direct3D> {
 public:
  uint32_t GetAdapterModeCount(uint32_t) override { return 0; }
  HResult EnumAdapterModes(uint32_t, uint32_t, D3DDISPLAYMODE*) override { return D3DERR_INVALIDCALL; }
  HResult GetAdapterDisplayMode(uint32_t, D3DDISPLAYMODE* out) override {
    *out = {640, 480, 60, D3DFMT_X8R8G8B8};
    return D3D_OK;
  }
  HResult CreateDevice(uint32_t, D3DDEVTYPE, WindowHandle, uint32_t, D3DPRESENT_PARAMETERS*,
                       RenderDevice** device) override {
    *device = new NullDevice;
    return D3D_OK;
  }
};

Direct3D* nullFactory(void*, uint32_t) { return new NullDirect3D; }

void drawFrames(benchmark::State& state, Direct3DFactory factory, void* context) {
  DeviceLayer layer(factory, context);
  if (layer.createDevice(nullptr, 640, 480, 16, 0) != 0) {
    state.SkipWithError("no device");
    return;
  }
  RawScene raw;
  if (!test::readBytes(write3ds(animatedScene()), raw)) {
    state.SkipWithError("the scene was refused");
    return;
  }
  const std::unique_ptr<Scene> scene = buildScene(layer, raw);
  scene->wireAlpha = 0.5f;
  Random random;
  float frame = 0;
  auto* recording = dynamic_cast<test::RecordingDevice*>(layer.device());
  for (auto _ : state) {
    frame = frame >= 100 ? 0 : frame + 0.7f;
    test::drawSceneFrame(*scene, layer, random, frame);
    if (recording) {
      state.PauseTiming();
      recording->clearLog();
      state.ResumeTiming();
    }
  }
}

void SetupAndDrawOnTheRecordingDevice(benchmark::State& state) {
  auto* d3d = new test::RecordingDirect3D;
  drawFrames(state, test::recordingDirect3DFactory, d3d);
  d3d->Release();
}
BENCHMARK(SetupAndDrawOnTheRecordingDevice)->Unit(benchmark::kMicrosecond);

void SetupAndDrawOnADeviceThatDoesNothing(benchmark::State& state) { drawFrames(state, nullFactory, nullptr); }
BENCHMARK(SetupAndDrawOnADeviceThatDoesNothing)->Unit(benchmark::kMicrosecond);

}  // namespace
