// What each command does to its object over time, checked through fake objects and the recording
// device.
#include <gtest/gtest.h>

#include <memory>

#include "fx/random.h"
#include "fx/tunnel.h"
#include "scene/perspective.h"
#include "script/image_timed_commands.h"
#include "script/scene_commands.h"
#include "support/show_harness.h"
#include "fakes.h"

namespace demo::test {
namespace {

Image* addImage(ShowHarness& h, const char* name, std::vector<std::string>* log = nullptr) {
  ImageEntry* entry = h.show.names.images.declareName(name);
  entry->object = h.show.objects.keep(std::make_unique<FakeImage>(name, log));
  return entry->object;
}

FakeScene* addScene(ShowHarness& h, const char* name, uint32_t firstFrame, uint32_t lastFrame) {
  auto scene = std::make_unique<FakeScene>();
  FakeScene* fake = scene.get();
  fake->firstFrame = firstFrame;
  fake->lastFrame = lastFrame;
  h.show.names.scenes.declareName(name)->object = h.show.objects.keep(std::move(scene));
  return fake;
}

TEST(FadeImage, HalfWayIsAlpha127AndTheEndIsExactlyTheToColour) {
  ShowHarness h;
  Image* image = addImage(h, "a");
  ASSERT_TRUE(h.compile("start\nat 0\nfadeimage <a> 0x00ffffff 0xffffffff +3:00\nat 9:000\n"));
  h.frame(0);
  EXPECT_EQ(image->colour, 0x00ffffffu);
  h.frame(1500);
  EXPECT_EQ(image->colour >> 24, 127u);
  h.frame(3000);
  EXPECT_EQ(image->colour, 0xffffffffu);
  EXPECT_EQ(h.show.timeline.activeTable[0], nullptr) << "gone from the table once at its end";
}

TEST(BlurImage, LevelsFollowTheFixedPointFraction) {
  ShowHarness h;
  Image* image = addImage(h, "a");
  ASSERT_TRUE(h.compile("start\nblurimage <a> 10 0 1:000\nat 9:000\n"));
  h.frame(0);
  EXPECT_EQ(image->blurLevel, 10);
  h.frame(1);
  EXPECT_EQ(image->blurLevel, 9) << "(-10 x 1) >> 10 rounds down";
  h.frame(500);
  EXPECT_EQ(image->blurLevel, 5);
  h.frame(1000);
  EXPECT_EQ(image->blurLevel, 0);
}

TEST(SpackBlurImage, JumpsWithTwoDrawsPerChangeAndRestoresTheLevelItFound) {
  ShowHarness h;
  Image* image = addImage(h, "a");
  image->blurLevel = 5;
  ASSERT_TRUE(h.compile("start\nat 1:000\nspackblurimage <a> 10 20 100 200 +1:000\nat 9:000\n"));
  h.frame(0);
  h.frame(1000);
  Random expected;
  const auto r1 = static_cast<uint32_t>(expected.next());
  const auto r2 = static_cast<uint32_t>(expected.next());
  EXPECT_EQ(image->blurLevel, static_cast<int32_t>(10 + r1 * 10 / 32767));
  EXPECT_EQ(h.show.random.state(), expected.state());
  const uint32_t next = 1000 + 100 + r2 * 100 / 32767;
  h.frame(next - 1);
  EXPECT_EQ(h.show.random.state(), expected.state()) << "no change before the next change time";
  h.frame(next);
  expected.next();
  expected.next();
  EXPECT_EQ(h.show.random.state(), expected.state());
  h.frame(2000);
  EXPECT_EQ(image->blurLevel, 5) << "the level from before, not the minimum";
}

TEST(SpackBlurImage, AZeroRangeStillDrawsTwoNumbers) {
  ShowHarness h;
  Image* image = addImage(h, "a");
  ASSERT_TRUE(h.compile("start\nspackblurimage <a> 0 0 10 10 1:000\nat 9:000\n"));
  h.frame(0);
  EXPECT_EQ(image->blurLevel, 0);
  Random expected;
  expected.next();
  expected.next();
  EXPECT_EQ(h.show.random.state(), expected.state());
}

TEST(MoveAndSizeImage, FloatsRunFromTheScheduleAndEndExactly) {
  ShowHarness h;
  Image* image = addImage(h, "a");
  ASSERT_TRUE(h.compile("start\nat 1:000\nmoveimage <a> 0 1 1 +-1 +4:000\nsizeimage <a> 1 0.5 1 0.5 +2:000\n"
                        "at 9:000\n"));
  h.frame(0);
  h.frame(2000);
  EXPECT_FLOAT_EQ(image->x, 0.25f);
  EXPECT_FLOAT_EQ(image->y, 0.75f);
  EXPECT_FLOAT_EQ(image->width, 0.75f);
  h.frame(5000);
  EXPECT_FLOAT_EQ(image->x, 1.0f);
  EXPECT_FLOAT_EQ(image->y, 0.0f);
  EXPECT_FLOAT_EQ(image->height, 0.5f);
}

TEST(ShowImage, SetsTheBlendStatesOfItsModeBeforeDrawing) {
  ShowHarness h;
  std::vector<std::string> drawn;
  addImage(h, "a", &drawn);
  ASSERT_TRUE(h.compile("start\nshowimage <a> copy 1:000\nat 9:000\n"));
  h.device().clearLog();
  h.frame(0);
  EXPECT_EQ(h.device().names(), (std::vector<std::string>{"BeginScene", "SetRenderState"}));
  EXPECT_EQ(h.device().calls[1].toString(), "SetRenderState(27, 0)") << "copy only switches blending off";

  ShowHarness mix;
  addImage(mix, "a");
  ASSERT_TRUE(mix.compile("start\nshowimage <a> mixcolor 1:000\nat 9:000\n"));
  mix.device().clearLog();
  mix.frame(0);
  EXPECT_EQ(mix.device().renderState(D3DRS_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(mix.device().renderState(D3DRS_SRCBLEND), static_cast<uint32_t>(D3DBLEND_SRCCOLOR));
  EXPECT_EQ(mix.device().renderState(D3DRS_DESTBLEND), static_cast<uint32_t>(D3DBLEND_INVSRCCOLOR));
}

TEST(ShowImage, AModeOutsideTheTableEndsAtOnceWithoutDrawing) {
  ShowHarness h;
  std::vector<std::string> drawn;
  addImage(h, "a", &drawn);
  ASSERT_TRUE(h.compile("start\nshowimage <a> add 1:000\nat 9:000\n"));
  dynamic_cast<ShowImageInstruction&>(*h.show.timeline.program()[1]).blendMode = 8;
  h.frame(0);
  EXPECT_TRUE(drawn.empty());
  EXPECT_EQ(h.show.timeline.activeTable[0], nullptr);
}

TEST(VertexImage, OnlyHoldsItsSlotUntilItsEnd) {
  ShowHarness h;
  addImage(h, "a");
  addScene(h, "s", 0, 0);
  ASSERT_TRUE(h.compile("start\nverteximage <a> <s> \"Box01\" 1:000\nat 9:000\n"));
  h.device().clearLog();
  h.frame(0);
  h.frame(999);
  EXPECT_TRUE(h.device().calls.empty());
  EXPECT_NE(h.show.timeline.activeTable[0], nullptr);
  h.frame(1000);
  EXPECT_EQ(h.show.timeline.activeTable[0], nullptr);
}

TEST(PlayScene, FramesWrapBySegmentAndPlayBackwardsUnwrapped) {
  ShowHarness h;
  FakeScene* scene = addScene(h, "s", 0, 1000);
  FakeScene* back = addScene(h, "b", 0, 1000);
  ASSERT_TRUE(h.compile("start\nat 10:000\nplayscene <s> 0 2000 +10:000\nplayscene <b> 400 0 +12:000\nat 30:000\n"));
  h.frame(0);
  h.frame(10000);
  h.frame(16000);
  h.frame(21999);
  EXPECT_EQ(scene->drawnFrames, (std::vector<float>{0.0f, 200.0f}));
  EXPECT_EQ(scene->setupFrames, scene->drawnFrames) << "the camera is set up for the frame drawn";
  ASSERT_EQ(back->drawnFrames.size(), 3u);
  EXPECT_FLOAT_EQ(back->drawnFrames[1], 200.0f);
  EXPECT_NEAR(back->drawnFrames[2], 400.0f - 11999.0f * 400.0f / 12000.0f, 1e-3);
  EXPECT_EQ(h.device().count("BeginScene"), 3u);
}

TEST(PlayScene, SpeedFromAnEndFrameOrFramesPerSecond) {
  ShowHarness h;
  addScene(h, "s", 0, 0);
  ASSERT_TRUE(h.compile("start\nat 10:000\nplayscene <s> 0 2000 +12:800\nplayscene <s> 0 @25 +1:000\n"
                        "playscene <s> 100 +50 +1:000\n"));
  const Program& program = h.show.timeline.program();
  EXPECT_FLOAT_EQ(dynamic_cast<PlaySceneInstruction&>(*program[2]).speed, 2000.0f / 12800.0f);
  EXPECT_FLOAT_EQ(dynamic_cast<PlaySceneInstruction&>(*program[3]).speed, 0.025f);
  EXPECT_FLOAT_EQ(dynamic_cast<PlaySceneInstruction&>(*program[4]).speed, 0.05f);
}

TEST(SceneCommands, FarPlaneAlphasAndCameraSelection) {
  ShowHarness h;
  FakeScene* scene = addScene(h, "s", 0, 0);
  scene->cameras = {"Camera01"};
  ASSERT_TRUE(h.compile("setfarplane <s> 5000\nselectcam <s> \"Camera01\"\nstart\n"
                        "fadesalpha <s> 1 0 1:000\nfadewalpha <s> 0 +1 1:000\nat 9:000\n"));
  h.frame(0);
  h.frame(250);
  EXPECT_FLOAT_EQ(scene->farPlane, 5000.0f);
  EXPECT_NE(scene->currentCamera, nullptr);
  EXPECT_FLOAT_EQ(scene->solidAlpha, 0.75f);
  EXPECT_FLOAT_EQ(scene->wireAlpha, 0.25f);
  h.frame(1000);
  EXPECT_FLOAT_EQ(scene->solidAlpha, 0.0f);
  EXPECT_FLOAT_EQ(scene->wireAlpha, 1.0f);

  ShowHarness missing;
  addScene(missing, "s", 0, 0);
  ASSERT_TRUE(missing.compile("selectcam <s> \"Camera02\"\nat 1\n"));
  EXPECT_EQ(missing.frame(0), StepResult::Stop);
}

TEST(ShowTunnel, DrawsNothingWithoutACameraOrAGridImage) {
  ShowHarness h;
  FakeScene* scene = addScene(h, "s", 0, 100);
  ImageEntry* grid = h.show.names.images.declareName("g");
  grid->object = h.show.objects.keep(std::make_unique<GridImage>(4, 4, 0.0f, 0.0f, 1.0f, 1.0f));
  addImage(h, "plain");
  ASSERT_TRUE(h.compile("start\nshowtunnel <s> <g> 0 100 1:000\nshowtunnel <s> <plain> 0 100 1:000\nat 9:000\n"));
  h.frame(0);
  EXPECT_EQ(h.device().count("BeginScene"), 0u);
  scene->currentCamera = &scene->standIn;
  h.frame(10);
  EXPECT_EQ(h.device().count("BeginScene"), 1u) << "only the grid image is flown through";
}

TEST(ShowTunnel, CastsTheGridFromTheCurrentCameraAtTheSceneFrame) {
  ShowHarness h;
  FakeScene* scene = addScene(h, "s", 0, 100);
  scene->currentCamera = reinterpret_cast<Camera*>(scene);
  auto made = std::make_unique<GridImage>(4, 3, 0.0f, 0.0f, 1.0f, 1.0f);
  GridImage* grid = made.get();
  h.show.names.images.declareName("g")->object = h.show.objects.keep(std::move(made));
  ASSERT_TRUE(h.compile("start\nat 1:000\nshowtunnel <s> <g> 20 @50 +9:000\nat 9:000\n"));
  h.frame(0);
  h.device().clearLog();
  h.frame(3000);  // frame 20 + 2000 ms x 0.05 = 120, wrapped by the segment to 20
  ASSERT_EQ(scene->cameraFrames.size(), 1u);
  EXPECT_FLOAT_EQ(scene->cameraFrames[0], 20.0f);
  GridImage expected(4, 3, 0.0f, 0.0f, 1.0f, 1.0f);
  const float frame = scene->cameraFrames[0];
  ASSERT_TRUE(castTunnel(expected, {10.0f, -20.0f, frame}, {0.0f, 0.0f, frame + 100.0f}, frame * 0.01f, 1000.0f));
  for (size_t i = 0; i < expected.vertices.size(); ++i) {
    EXPECT_EQ(grid->vertices[i].u, expected.vertices[i].u) << i;
    EXPECT_EQ(grid->vertices[i].v, expected.vertices[i].v) << i;
    EXPECT_EQ(grid->vertices[i].colour, expected.vertices[i].colour) << i;
  }
  EXPECT_EQ(h.device().draws.size(), 3u) << "the grid drawn, a strip per cell row";
  EXPECT_EQ(h.layer.topTransform().m[0], 1.0f) << "the world stack's top was the identity";
}

TEST(Particles, CommandsActOnTheSystemAndShowItInCameraSpace) {
  ShowHarness h;
  Image* sprite = addImage(h, "a");
  auto system = std::make_unique<FakeParticles>(sprite, 500);
  FakeParticles* particles = system.get();
  h.show.names.effects.declareName("p")->object = h.show.objects.keep(std::move(system));
  ASSERT_TRUE(h.compile("partpos <p> 1 2 3 +1 +1 +1\npartacc <p> 0 -1 0 0 -1 0\npartlife <p> 0.018 1 2\nstart\n"
                        "at 2:500\nshowparticles <p> +1:000\nat 9:000\n"));
  h.frame(0);
  EXPECT_FLOAT_EQ(particles->posMax[2], 4.0f);
  EXPECT_FLOAT_EQ(particles->accMin[1], -1.0f);
  EXPECT_FLOAT_EQ(particles->velMax[0], 1.0f) << "the velocity box keeps its default";
  EXPECT_FLOAT_EQ(particles->birthInterval, 0.018f);
  EXPECT_FLOAT_EQ(particles->lifeMax, 2.0f);
  h.device().clearLog();
  h.frame(2500);
  EXPECT_EQ(particles->restarts, std::vector<float>{2.5f});
  EXPECT_EQ(particles->drawTimes, std::vector<uint32_t>{2500});
  std::vector<uint64_t> states;
  for (const DeviceCall& call : h.device().callsNamed("SetTransform")) states.push_back(call.args[0]);
  EXPECT_EQ(states, (std::vector<uint64_t>{D3DTS_PROJECTION, D3DTS_WORLD, D3DTS_PROJECTION, D3DTS_WORLD}));
  const D3DMATRIX projection = perspective(1.5707964f, 1.0f, 1.0f, 1000.0f);
  for (int i = 0; i < 16; ++i) {
    EXPECT_FLOAT_EQ(particles->projectionAtDraw.m[i], projection.m[i]) << i;
    EXPECT_FLOAT_EQ(particles->worldAtDraw.m[i], DeviceLayer::identity.m[i]) << i;
  }
  EXPECT_EQ(h.layer.stackDepth(0), 0);
  EXPECT_EQ(h.layer.stackDepth(1), 0);
  EXPECT_EQ(h.layer.selectedStack(), 0);
}

TEST(EffectKinds, ACommandFindingAnotherKindActsOnNothing) {
  ShowHarness h;
  Image* sprite = addImage(h, "a");
  auto system = std::make_unique<FakeParticles>(sprite, 10);
  FakeParticles* particles = system.get();
  h.show.names.effects.declareName("p")->object = h.show.objects.keep(std::move(system));
  auto blobs = std::make_unique<FakeBlobs>();
  FakeBlobs* blobSystem = blobs.get();
  h.show.names.effects.declareName("b")->object = h.show.objects.keep(std::move(blobs));
  ASSERT_TRUE(h.compile("partlife <b> 9 9 9\nmake2dblobs <p> <a>\nstart\nplayblobs <p> <a> 1:000\n"
                        "show2dblobs <p> 1:000\nshowparticles <b> 1:000\nplayblobs <b> <a> 1:000\nat 9:000\n"));
  h.frame(0);
  h.frame(100);
  EXPECT_EQ(effectAs<ParticleSystem>(h.show.names.effects.findName("p")), particles)
      << "make2dblobs over a plain image makes nothing and leaves the particle system alone";
  EXPECT_FLOAT_EQ(particles->lifeMax, 2.0f);
  EXPECT_TRUE(particles->drawTimes.empty());
  ASSERT_EQ(blobSystem->phases.size(), 2u);
  EXPECT_FLOAT_EQ(blobSystem->phases[1], static_cast<float>(100 * 0.003));
  EXPECT_EQ(h.device().count("BeginScene"), 2u) << "only the blob system drew";
}

TEST(FreeImage, AnImageStillUsedByAParticleSystemOutlivesItsName) {
  ShowHarness h;
  Image* sprite = addImage(h, "a");
  h.show.names.effects.declareName("p")->object =
      h.show.objects.keep(std::make_unique<FakeParticles>(sprite, 10));
  ASSERT_TRUE(h.compile("freeimage <a>\nfadeimage <a> 0 1 1\nat 1\n"));
  h.frame(0);
  EXPECT_EQ(h.show.names.images.findName("a")->object, nullptr);
  const auto* system = effectAs<ParticleSystem>(h.show.names.effects.findName("p"));
  EXPECT_EQ(system->image->colour, 0xffffffffu) << "still a live image (AddressSanitizer would object)";
}

TEST(Loaders, ThingsThatCannotBeMadeYetStopTheShow) {
  for (const char* script : {"loadtexture <t> \"a.tga\" 4 4 0\nat 1\n", "loadscene <s> \"a.3ds\"\nat 1\n"}) {
    ShowHarness h;
    ASSERT_TRUE(h.compile(script));
    EXPECT_EQ(h.frame(0), StepResult::Stop) << script;
  }
  ShowHarness noTexture;
  noTexture.show.names.textures.declareName("t");
  ASSERT_TRUE(noTexture.compile("makeimage <i> <t> 0 0 1 1\nat 1\n"));
  EXPECT_EQ(noTexture.frame(0), StepResult::Stop) << "nothing loaded under the texture name";
  ShowHarness grid;
  grid.show.names.textures.declareName("t");
  ASSERT_TRUE(grid.compile("makegridimage <g> <t> 0 64\nat 1\n"));
  EXPECT_EQ(grid.frame(0), StepResult::Stop) << "a grid without cells";
}

}  // namespace
}  // namespace demo::test
