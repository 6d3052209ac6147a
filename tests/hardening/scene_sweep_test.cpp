// The 3DS reader's damage sweep: every damaged copy of each writer-made scene and of each real scene
// of the shared test data read. A copy is read whole or refused with a reason and nothing read.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "scene/scene_reader.h"
#include "sweep_inputs.h"

namespace demo::test {
namespace {

void readCopy(DamagedCopy& copy) {
  Reader reader;
  adopt(reader, copy);
  RawScene scene;
  std::string reason;
  if (readScene(reader, scene, &reason)) return;
  EXPECT_FALSE(reason.empty()) << currentDamage();
  EXPECT_TRUE(scene.objects.empty() && scene.materials.empty() && scene.nodes.empty()) << currentDamage();
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
