// The 3DS reader's damage sweep: every damaged copy of each writer-made scene and of each real scene
// of the shared test data read. A copy is read whole or refused with a reason and nothing read; a
// copy that is read is built into a scene on the recording device and drawn, both passes on, through
// its own camera or a viewer's.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "scene/scene.h"
#include "scene/scene_reader.h"
#include "support/recording_device.h"
#include "support/scene_files.h"
#include "sweep_inputs.h"

namespace demo::test {
namespace {

// One recording device for the whole sweep: its log is cleared after each copy.
struct SweepDevice {
  RecordingDirect3D* d3d = new RecordingDirect3D;
  DeviceLayer layer{recordingDirect3DFactory, d3d};
  Random random;
  SweepDevice() { layer.createDevice(nullptr, 64, 48, 16, 0); }
  ~SweepDevice() {
    layer.destroyDevice();
    d3d->Release();
  }
};

void readCopy(DamagedCopy& copy) {
  static SweepDevice target;
  Reader reader;
  adopt(reader, copy);
  RawScene raw;
  std::string reason;
  if (!readScene(reader, raw, &reason)) {
    EXPECT_FALSE(reason.empty()) << currentDamage();
    EXPECT_TRUE(raw.objects.empty() && raw.materials.empty() && raw.nodes.empty()) << currentDamage();
    return;
  }
  const std::unique_ptr<Scene> scene = buildScene(target.layer, raw);
  if (scene->cameras.empty()) addViewerCamera(*scene, target.layer, 0);
  scene->wireAlpha = 0.5f;
  drawSceneFrame(*scene, target.layer, target.random, 0.5f * static_cast<float>(scene->lastFrame));
  for (const DrawRecord& draw : target.d3d->lastDevice->draws)
    for (uint32_t index : draw.indices) ASSERT_LT(index, draw.numVertices) << currentDamage();
  target.d3d->lastDevice->clearLog();
}

class SceneSweep : public ::testing::TestWithParam<SweepInput> {};
TEST_P(SceneSweep, EveryDamagedCopyIsReadOrRefusedWithAReason) { runSweep(GetParam(), readCopy); }
INSTANTIATE_TEST_SUITE_P(Files, SceneSweep, ::testing::ValuesIn(sweepInputs(sceneFixtures(), "3ds", {".3ds"})),
                         sweepCaseName);

TEST(SceneFixtures, EveryFixtureIsRead) {
  for (const Fixture& fixture : sceneFixtures()) {
    Reader reader;
    auto bytes = std::make_unique<uint8_t[]>(fixture.bytes.size());
    std::memcpy(bytes.get(), fixture.bytes.data(), fixture.bytes.size());
    reader.assign(std::move(bytes), static_cast<uint32_t>(fixture.bytes.size()));
    RawScene scene;
    std::string reason;
    EXPECT_TRUE(readScene(reader, scene, &reason)) << fixture.name << ": " << reason;
  }
}

}  // namespace
}  // namespace demo::test
