// Particle systems on the recording device: the pool and its two lists, births on the accumulator,
// the ten draws from the shared sequence, the sprites written through the node's matrix and drawn
// additively in batches the 16-bit indices can reach, and the faults a system must survive.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <strings.h>

#include "fx/particle_system.h"
#include "fx_fixtures.h"
#include "scene/scene.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

constexpr uint16_t End = ParticleSystem::EndOfList;

class ParticleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source = makeSourceTexture(h.device(), 4, 4, randomPicture(4, 4, 3));
    ASSERT_TRUE(sprite.initImage(h.layer, source, 1, 0, 0, 1, 1));
  }
  void TearDown() override {
    if (source) source->Release();
  }
  std::unique_ptr<ParticleSystem> make(uint32_t capacity) {
    auto system = createParticleSystem(h.layer, &sprite, capacity);
    EXPECT_NE(system, nullptr);
    return system;
  }
  // One frame of the system at the clock reading, with the world matrix on top of the world stack.
  void drawAt(ParticleSystem& system, uint32_t demoTime, const D3DMATRIX& world = DeviceLayer::identity) {
    h.layer.selectTransformStack(0);
    h.layer.topTransform() = world;
    SceneDraw pass{h.layer, random, demoTime};
    system.draw(pass);
  }
  // One particle with these exact values, born through spawnOne.
  void spawnExactly(ParticleSystem& system, const float position[3], const float velocity[3],
                    const float acceleration[3], float life) {
    std::memcpy(system.posMin, position, sizeof system.posMin);
    std::memcpy(system.posMax, position, sizeof system.posMax);
    std::memcpy(system.velMin, velocity, sizeof system.velMin);
    std::memcpy(system.velMax, velocity, sizeof system.velMax);
    std::memcpy(system.accMin, acceleration, sizeof system.accMin);
    std::memcpy(system.accMax, acceleration, sizeof system.accMax);
    system.lifeMin = system.lifeMax = life;
    system.spawnOne(random);
  }
  uint64_t vertexRevision(const ParticleSystem& system) {
    return static_cast<const MemoryVertexBuffer*>(system.vertexBuffer)->buffer().revision();
  }

  ShowHarness h;
  Texture* source = nullptr;
  Image sprite;
  Random random;
};

TEST_F(ParticleTest, CreationClampsTheCapacityChainsTheFreeListAndFillsTheBuffersOnce) {
  h.device().clearLog();
  auto system = make(100000);
  EXPECT_EQ(system->capacity, 65535u);
  EXPECT_FLOAT_EQ(system->birthInterval, 32767.5f);
  EXPECT_EQ(system->freeHead, 0);
  EXPECT_EQ(system->liveHead, End);
  EXPECT_EQ(system->links[0], 1);
  EXPECT_EQ(system->links[65533], 65534);
  EXPECT_EQ(system->links[65534], End);
  EXPECT_EQ(system->posMin[0], -1.0f);
  EXPECT_EQ(system->accMax[2], 1.0f);
  EXPECT_EQ(system->lifeMin, 1.0f);
  EXPECT_EQ(system->lifeMax, 2.0f);

  ASSERT_EQ(h.device().count("CreateVertexBuffer"), 1u);
  EXPECT_EQ(h.device().callsNamed("CreateVertexBuffer")[0].args,
            (std::vector<uint64_t>{65535u * 4 * 24, D3DUSAGE_WRITEONLY, 0x142, D3DPOOL_SYSTEMMEM}));
  // One batch of indices: every batch is drawn from its own base vertex.
  EXPECT_EQ(h.device().callsNamed("CreateIndexBuffer")[0].args,
            (std::vector<uint64_t>{16384u * 6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM}));
  const auto* vertices =
      reinterpret_cast<const VertexColorTex*>(static_cast<MemoryVertexBuffer*>(system->vertexBuffer)->buffer().bytes());
  for (uint32_t k : {0u, 40000u, 65534u}) {
    const float u[4] = {0, 0, 1, 1}, v[4] = {1, 0, 1, 0};
    for (int c = 0; c < 4; ++c) {
      EXPECT_EQ(vertices[4 * k + c].u, u[c]);
      EXPECT_EQ(vertices[4 * k + c].v, v[c]);
      EXPECT_EQ(vertices[4 * k + c].x, 0.0f);
    }
  }
  const auto* indices =
      reinterpret_cast<const uint16_t*>(static_cast<MemoryIndexBuffer*>(system->indexBuffer)->buffer().bytes());
  EXPECT_EQ(std::vector<uint16_t>(indices, indices + 12), (std::vector<uint16_t>{0, 1, 2, 2, 1, 3, 4, 5, 6, 6, 5, 7}));
  EXPECT_EQ(indices[16383 * 6 + 5], 65535);
}

TEST_F(ParticleTest, NoSystemWithoutAnImageOrWithoutRoom) {
  EXPECT_EQ(createParticleSystem(h.layer, nullptr, 10), nullptr);
  EXPECT_EQ(createParticleSystem(h.layer, &sprite, 0), nullptr);
}

TEST_F(ParticleTest, BirthsFollowTheAccumulator) {
  // Without partlife, 500 particles are born one per 250 s.
  auto slow = make(500);
  slow->restart(0.0f);
  drawAt(*slow, 249999);
  EXPECT_EQ(slow->liveCount(), 0u);
  drawAt(*slow, 250000);
  EXPECT_EQ(slow->liveCount(), 1u);
  EXPECT_NEAR(slow->birthAccumulator, 0.0f, 1e-4f);

  // An interval of 0.018 s in a frame of 0.05 s: two births, 0.014 s carried over.
  auto fast = make(10);
  fast->birthInterval = 0.018f;
  fast->restart(1.0f);
  drawAt(*fast, 1050);
  EXPECT_EQ(fast->liveCount(), 2u);
  EXPECT_NEAR(fast->birthAccumulator, 0.014f, 1e-5f);
  EXPECT_EQ(h.device().count("DrawIndexedPrimitive"), 0u) << "born particles are first drawn next frame";

  // An exhausted pool keeps what the accumulator gathered.
  auto small = make(2);
  small->birthInterval = 0.01f;
  small->restart(0.0f);
  drawAt(*small, 50);
  EXPECT_EQ(small->liveCount(), 2u);
  EXPECT_NEAR(small->birthAccumulator, 0.03f, 1e-6f);
}

TEST_F(ParticleTest, AClockGoingBackNeitherLengthensLivesNorBirthsABurst) {
  auto system = make(100);
  system->birthInterval = 0.08f;
  system->restart(10.0f);
  const float origin[3] = {0, 0, 5}, still[3] = {0, 0, 0};
  spawnExactly(*system, origin, still, still, 1.0f);
  drawAt(*system, 2000);  // the music restarted
  EXPECT_EQ(system->liveCount(), 1u);
  EXPECT_EQ(system->particles[0].life, 1.0f);
  EXPECT_EQ(system->birthAccumulator, 0.0f);
  drawAt(*system, 2100);
  EXPECT_EQ(system->liveCount(), 2u) << "time runs on from the new reading";
  EXPECT_NEAR(system->particles[0].life, 0.9f, 1e-6f);
}

TEST_F(ParticleTest, SpawnOneDrawsTenValuesInOrderAndPutsTheNewParticleFirst) {
  auto system = make(4);
  const float boxes[9][2] = {{0, 8}, {-4, 4}, {10, 11}, {-1, 0}, {2, 3}, {5, 50}, {-9, -8}, {0, 1}, {7, 7.5f}};
  for (int axis = 0; axis < 3; ++axis) {
    system->posMin[axis] = boxes[axis][0], system->posMax[axis] = boxes[axis][1];
    system->velMin[axis] = boxes[3 + axis][0], system->velMax[axis] = boxes[3 + axis][1];
    system->accMin[axis] = boxes[6 + axis][0], system->accMax[axis] = boxes[6 + axis][1];
  }
  system->lifeMin = 0.5f;
  system->lifeMax = 4.0f;
  Random reference = random;
  system->spawnOne(random);
  system->spawnOne(random);
  EXPECT_EQ(system->liveHead, 1);
  EXPECT_EQ(system->links[1], 0);
  EXPECT_EQ(system->links[0], End);
  EXPECT_EQ(system->freeHead, 2);
  const Particle& first = system->particles[0];
  const float* values[9] = {&first.position[0],     &first.position[1],     &first.position[2],
                            &first.velocity[0],     &first.velocity[1],     &first.velocity[2],
                            &first.acceleration[0], &first.acceleration[1], &first.acceleration[2]};
  for (int i = 0; i < 9; ++i) {
    const float lo = boxes[i][0], hi = boxes[i][1];
    EXPECT_EQ(*values[i], lo + static_cast<float>(reference.next()) * (hi - lo) / 32767.0f) << i;
  }
  EXPECT_EQ(first.life, 0.5f + static_cast<float>(reference.next()) * 3.5f / 32767.0f);
  EXPECT_EQ(random.state(), [&] {
    for (int i = 0; i < 10; ++i) reference.next();
    return reference.state();
  }()) << "twenty values for two particles";
}

TEST_F(ParticleTest, TwoSystemsShareOneSequenceSoTheyDrawDifferentValues) {
  auto a = make(1), b = make(1);
  a->spawnOne(random);
  b->spawnOne(random);
  EXPECT_NE(a->particles[0].position[0], b->particles[0].position[0]);
  EXPECT_NE(a->particles[0].life, b->particles[0].life);
  Random fresh;
  for (int i = 0; i < 10; ++i) fresh.next();
  EXPECT_EQ(b->particles[0].position[0], -1.0f + static_cast<float>(fresh.next()) * 2.0f / 32767.0f);
}

TEST_F(ParticleTest, SpritesAreWrittenThroughTheNodeMatrixAndDrawnAdditively) {
  auto system = make(8);
  sprite.width = 0.5f;
  sprite.height = 0.25f;
  sprite.colour = 0x80FF4020u;
  system->restart(0.0f);
  const float position[3] = {1, 2, 3}, velocity[3] = {1, 0, 0}, acceleration[3] = {0, 2, 0};
  spawnExactly(*system, position, velocity, acceleration, 5.0f);
  // The node: scaled by 2, moved to (10, 20, 30).
  const D3DMATRIX node = {{2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 10, 20, 30, 1}};
  h.layer.pushTransform();
  h.device().clearLog();
  drawAt(*system, 500, node);

  ASSERT_EQ(h.device().draws.size(), 1u);
  const DrawRecord& d = h.device().draws[0];
  EXPECT_EQ(d.call, "DrawIndexedPrimitive");
  EXPECT_EQ(d.type, D3DPT_TRIANGLELIST);
  EXPECT_EQ(d.minVertexIndex, 0u);
  EXPECT_EQ(d.numVertices, 4u);
  EXPECT_EQ(d.primitiveCount, 2u);
  EXPECT_EQ(d.indices, (std::vector<uint32_t>{0, 1, 2, 2, 1, 3}));
  EXPECT_EQ(d.fvf, FVF_XYZ_DIFFUSE_TEX1);
  EXPECT_EQ(d.stride, 24u);
  EXPECT_EQ(d.texture0, sprite.ownTexture);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(d.world.m[i], DeviceLayer::identity.m[i]) << "positions are pre-transformed";
  EXPECT_EQ(d.renderStates.at(D3DRS_LIGHTING), 0u);
  EXPECT_EQ(d.renderStates.at(D3DRS_ZENABLE), 0u);
  EXPECT_EQ(d.renderStates.at(D3DRS_ZWRITEENABLE), 1u);
  EXPECT_EQ(d.renderStates.at(D3DRS_CULLMODE), D3DCULL_NONE);
  EXPECT_EQ(d.renderStates.at(D3DRS_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(d.renderStates.at(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
  EXPECT_EQ(d.renderStates.at(D3DRS_DESTBLEND), D3DBLEND_ONE);
  // Moved by the velocity from before the update: (1.5, 2, 3), then through the node: (13, 24, 36).
  const float x[4] = {12.75f, 12.75f, 13.25f, 13.25f}, y[4] = {23.875f, 24.125f, 23.875f, 24.125f};
  for (int c = 0; c < 4; ++c) {
    const VertexColorTex v = d.colorVertex(c);
    EXPECT_FLOAT_EQ(v.x, x[c]) << c;
    EXPECT_FLOAT_EQ(v.y, y[c]) << c;
    EXPECT_FLOAT_EQ(v.z, 36.0f) << c;
    EXPECT_EQ(v.diffuse, 0x80FF4020u);
  }
  EXPECT_EQ(d.colorVertex(1).u, 0.0f);
  EXPECT_EQ(d.colorVertex(1).v, 0.0f);
  EXPECT_EQ(d.colorVertex(2).u, 1.0f);
  EXPECT_EQ(d.colorVertex(2).v, 1.0f);
  EXPECT_FLOAT_EQ(system->particles[0].velocity[1], 1.0f);

  // Afterwards the scene's states, and the depth test back on.
  EXPECT_EQ(h.device().vertexShader(), FVF_XYZ_NORMAL_TEX1);
  EXPECT_EQ(h.device().renderState(D3DRS_LIGHTING), 1u);
  EXPECT_EQ(h.device().renderState(D3DRS_ZWRITEENABLE), 1u);
  EXPECT_EQ(h.device().renderState(D3DRS_CULLMODE), D3DCULL_CCW);
  EXPECT_EQ(h.device().renderState(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
  EXPECT_EQ(h.device().renderState(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
  EXPECT_EQ(h.device().renderState(D3DRS_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(h.device().renderState(D3DRS_ZENABLE), D3DZB_TRUE);
  const auto streams = h.device().callsNamed("SetStreamSource");
  ASSERT_EQ(streams.size(), 1u);
  EXPECT_EQ(streams[0].args[2], 24u);
  EXPECT_EQ(h.device().callsNamed("SetIndices")[0].args[1], 0u);
  // The world stack is back where it was, not re-applied.
  EXPECT_EQ(h.layer.stackDepth(0), 1);
  EXPECT_EQ(h.layer.topTransform().m[12], 10.0f);

  drawAt(*system, 1000, node);
  const VertexColorTex second = h.device().draws.back().colorVertex(0);
  EXPECT_FLOAT_EQ(second.x, 2 * 2.0f + 10 - 0.25f);
  EXPECT_FLOAT_EQ(second.y, 2 * 2.5f + 20 - 0.125f);
  h.layer.popTransform();
}

TEST_F(ParticleTest, AParticleWhoseLifeReachesExactlyZeroDiesUndrawn) {
  auto system = make(4);
  system->restart(1.0f);
  const float origin[3] = {0, 0, 5}, still[3] = {0, 0, 0};
  spawnExactly(*system, origin, still, still, 0.5f);
  drawAt(*system, 1250);
  EXPECT_EQ(h.device().draws.size(), 1u);
  drawAt(*system, 1500);
  EXPECT_EQ(h.device().draws.size(), 1u) << "not drawn in the frame its life ran out";
  EXPECT_EQ(system->liveHead, End);
  EXPECT_EQ(system->freeHead, 0);
  EXPECT_EQ(system->links[0], 1) << "back on the front of the free list";
}

TEST_F(ParticleTest, WithNothingAliveTheBufferIsLockedButNoStateIsTouched) {
  auto system = make(4);
  system->birthInterval = 0.1f;
  system->restart(0.0f);
  const uint64_t before = vertexRevision(*system);
  h.device().clearLog();
  drawAt(*system, 100);
  EXPECT_EQ(vertexRevision(*system), before + 1) << "locked and unlocked";
  for (const char* call : {"SetRenderState", "SetTexture", "SetVertexShader", "SetStreamSource", "SetIndices",
                           "DrawIndexedPrimitive"})
    EXPECT_EQ(h.device().count(call), 0u) << call;
  EXPECT_EQ(system->liveCount(), 1u) << "births still run";
}

TEST_F(ParticleTest, RestartKillsEveryParticleAtOnce) {
  auto system = make(5);
  for (int i = 0; i < 3; ++i) system->spawnOne(random);
  system->birthAccumulator = 0.7f;
  system->restart(42.0f);
  EXPECT_EQ(system->liveCount(), 0u);
  EXPECT_EQ(system->lastTime, 42.0f);
  EXPECT_EQ(system->birthAccumulator, 0.0f);
  EXPECT_EQ(system->freeHead, 0);
  for (uint16_t i = 0; i < 4; ++i) EXPECT_EQ(system->links[i], i + 1);
  EXPECT_EQ(system->links[4], End);
}

TEST_F(ParticleTest, MoreSpritesThanSixteenBitIndicesReachAreDrawnInBatches) {
  auto system = make(20000);
  system->lifeMin = system->lifeMax = 100.0f;
  for (int i = 0; i < 20000; ++i) system->spawnOne(random);
  h.device().clearLog();
  drawAt(*system, 10);
  ASSERT_EQ(h.device().draws.size(), 2u);
  const auto bases = h.device().callsNamed("SetIndices");
  ASSERT_EQ(bases.size(), 2u);
  EXPECT_EQ(bases[0].args[1], 0u);
  EXPECT_EQ(bases[1].args[1], 65536u);
  const uint32_t sprites[2] = {16384, 3616};
  for (int b = 0; b < 2; ++b) {
    const DrawRecord& d = h.device().draws[b];
    EXPECT_EQ(d.numVertices, 4 * sprites[b]);
    EXPECT_EQ(d.primitiveCount, 2 * sprites[b]);
    // Every index lies within the batch's own sprites: no wrapped index joins another sprite.
    const uint32_t base = 65536u * b;
    for (uint32_t index : d.indices) {
      ASSERT_GE(index, base);
      ASSERT_LT(index, base + 4 * sprites[b]);
    }
    // The first triangle's corners belong to one sprite: same depth, left and right half a width apart.
    const VertexColorTex c0 = d.colorVertex(d.indices[0]), c2 = d.colorVertex(d.indices[2]);
    EXPECT_EQ(c0.z, c2.z);
    EXPECT_FLOAT_EQ(c2.x - c0.x, sprite.width);
  }
}

TEST_F(ParticleTest, RefusedBuffersOrAFailedLockDrawNothingButTimeRunsOn) {
  h.device().failCreateBuffers = true;
  auto refused = make(4);
  ASSERT_NE(refused, nullptr);
  EXPECT_EQ(refused->vertexBuffer, nullptr);
  EXPECT_EQ(refused->indexBuffer, nullptr);
  refused->birthInterval = 0.1f;
  refused->restart(0.0f);
  drawAt(*refused, 100);
  drawAt(*refused, 250);
  EXPECT_EQ(refused->liveCount(), 2u);
  EXPECT_EQ(h.device().draws.size(), 0u);
  h.device().failCreateBuffers = false;

  auto system = make(4);
  system->restart(0.0f);
  const float origin[3] = {0, 0, 5}, still[3] = {0, 0, 0};
  spawnExactly(*system, origin, still, still, 1.0f);
  uint8_t* held = nullptr;
  ASSERT_EQ(system->vertexBuffer->Lock(0, 0, &held, 0), D3D_OK);
  drawAt(*system, 100);
  EXPECT_EQ(h.device().draws.size(), 0u);
  EXPECT_NEAR(system->particles[0].life, 0.9f, 1e-6f);
  system->vertexBuffer->Unlock();
  drawAt(*system, 200);
  EXPECT_EQ(h.device().draws.size(), 1u);
}

// A scene with one object node, "Emitter", and a camera node "Cam"; names compare without case.
class OneNodeScene : public Scene {
 public:
  NodeAttachment* attached = nullptr;
  bool attachToObject(const char* objectName, NodeAttachment& attachment) override {
    if (strncasecmp(objectName, "emitter", 7) != 0) return false;
    attached = &attachment;
    return true;
  }
};

TEST_F(ParticleTest, AttachingHangsTheSystemOnTheNodeKeepsItsNameAndRestartsIt) {
  OneNodeScene scene;
  auto system = make(4);
  for (int i = 0; i < 2; ++i) system->spawnOne(random);
  EXPECT_FALSE(attachToNode(*system, scene, "Cam", 1.0f));
  EXPECT_EQ(system->liveCount(), 2u) << "a refused attachment changes nothing";
  EXPECT_STREQ(system->name, "");

  EXPECT_TRUE(attachToNode(*system, scene, "EMITTER", 2.5f));
  EXPECT_EQ(scene.attached, system.get());
  EXPECT_STREQ(system->name, "EMITTER") << "the name as the script wrote it";
  EXPECT_EQ(system->liveCount(), 0u);
  EXPECT_EQ(system->lastTime, 2.5f);

  const std::string longName = "Emitter" + std::string(56, 'x');  // 63 characters, as partobject allows
  EXPECT_TRUE(attachToNode(*system, scene, longName.c_str(), 3.0f));
  EXPECT_EQ(std::string(system->name), longName.substr(0, 31)) << "kept within its 32 bytes";
}

TEST(ParticleCommands, MakeParticlesStopsTheShowWhenNoSystemCanBeMade) {
  for (const char* script : {"makeparticles <p> <i> 0\nat 1\n", "makeparticles <p> <never> 10\nat 1\n"}) {
    ShowHarness h;
    Image image;
    h.show.names.images.declareName("i")->object = &image;
    h.show.names.images.declareName("never");
    ASSERT_TRUE(h.compile(script));
    EXPECT_EQ(h.frame(0), StepResult::Stop) << script;
    EXPECT_EQ(effectAs<ParticleSystem>(h.show.names.effects.findName("p")), nullptr);
  }
}

TEST(ParticleCommands, ShowParticlesDrawsTheMadeSystemInItsOwnProjection) {
  ShowHarness h;
  Texture* source = makeSourceTexture(h.device(), 4, 4, randomPicture(4, 4, 5));
  Image image;
  ASSERT_TRUE(image.initImage(h.layer, source, 1, 0, 0, 1, 1));
  h.show.names.images.declareName("i")->object = &image;
  ASSERT_TRUE(h.compile("makeparticles <p> <i> 100000\npartpos <p> 0 0 10 +0 +0 +0\npartlife <p> 0.009 5 5\n"
                        "start\nat 1:000\nshowparticles <p> +1:000\nat 9:000\n"));
  h.frame(0);
  auto* system = effectAs<ParticleSystem>(h.show.names.effects.findName("p"));
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(system->capacity, 65535u);
  h.frame(1000);
  EXPECT_EQ(system->lastTime, 1.0f);
  h.frame(1050);
  EXPECT_EQ(system->liveCount(), 5u);
  h.device().clearLog();
  h.frame(1100);
  ASSERT_EQ(h.device().draws.size(), 1u);
  EXPECT_EQ(h.device().draws[0].primitiveCount, 10u);
  EXPECT_EQ(h.device().draws[0].projection.m[11], 1.0f) << "the perspective projection of showparticles";
  source->Release();
}

}  // namespace
}  // namespace demo::test
