// One 3DS file read as loadscene reads it, built into a scene on the recording device, and drawn at
// three frames with both passes through its own camera or, without one, a viewer's. Faults in the
// indices, the hierarchy or the lights show up only in the drawing.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "archive/reader.h"
#include "fx/random.h"
#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "support/recording_device.h"
#include "support/scene_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 20) return 0;
  demo::Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(size);
  if (size) std::memcpy(bytes.get(), data, size);
  reader.assign(std::move(bytes), static_cast<uint32_t>(size));
  demo::RawScene raw;
  std::string reason;
  if (!demo::readScene(reader, raw, &reason)) {
    if (reason.empty()) __builtin_trap();
    return 0;
  }
  auto* d3d = new demo::test::RecordingDirect3D;
  {
    demo::DeviceLayer layer(demo::test::recordingDirect3DFactory, d3d);
    if (layer.createDevice(nullptr, 64, 48, 16, 0) != 0) __builtin_trap();
    std::unique_ptr<demo::Scene> scene = demo::buildScene(layer, raw);
    if (scene->cameras.empty()) demo::test::addViewerCamera(*scene, layer, 0);
    scene->wireAlpha = 0.5f;
    demo::Random random;
    for (float frame : {0.0f, 0.5f * static_cast<float>(scene->lastFrame), static_cast<float>(scene->lastFrame) + 7})
      demo::test::drawSceneFrame(*scene, layer, random, frame);
    // Every index a draw hands the device names a vertex it was given.
    for (const auto& draw : d3d->lastDevice->draws)
      for (uint32_t index : draw.indices)
        if (index >= draw.minVertexIndex + draw.numVertices) __builtin_trap();
  }
  d3d->Release();
  return 0;
}
