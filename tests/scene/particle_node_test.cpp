// A particle system hung on an object node of a real scene by partobject: found without regard to
// case, drawn with the node's animated transform, and leaving the depth test on for the meshes the
// scene draws after it.

#include <gtest/gtest.h>

#include <cmath>

#include "fx/particle_system.h"
#include "scene_fixture.h"

namespace demo::test {
namespace {

// Two object nodes under the root, "Emitter" moving 10 units along x over 100 frames and "After"
// standing still and drawn after it, each with a one-triangle mesh, under a camera on the z axis looking at the origin.
Scene3ds emitterScene() {
  Scene3ds s = oneTriangle();
  Mesh3ds emitter = s.meshes[0], after = s.meshes[0];
  emitter.name = "Emitter";
  after.name = "After";
  s.meshes = {emitter, after};
  s.segment = {0, 100};
  Node3ds moving;
  moving.name = "Emitter";
  moving.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0), key3(100, 10, 0, 0)}, {}}}};
  Node3ds still;
  still.name = "After";
  still.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0)}, {}}}};
  // Opaque nodes go to the front of their parent's children: Emitter, written last, is drawn first.
  s.nodes = {still, moving};
  return s;
}

class ParticleNode : public SceneFixture {
 protected:
  // A system of one particle resting at the node's origin for the whole test.
  std::unique_ptr<ParticleSystem> oneParticle() {
    auto system = std::make_unique<ParticleSystem>(&sprite, 4);
    system->createBuffers(device());
    for (int axis = 0; axis < 3; ++axis) {
      system->posMin[axis] = system->posMax[axis] = 0.0f;
      system->velMin[axis] = system->velMax[axis] = system->accMin[axis] = system->accMax[axis] = 0.0f;
    }
    system->lifeMin = system->lifeMax = 1000.0f;
    return system;
  }
  // The centre of the sprite the last frame drew, in camera space.
  Vec3 spriteCentre() {
    for (const DrawRecord& d : device().draws)
      if (d.call == "DrawIndexedPrimitive") {
        const VertexColorTex a = d.colorVertex(0), b = d.colorVertex(3);
        return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2};
      }
    ADD_FAILURE() << "no sprite drawn";
    return {};
  }

  Image sprite;
};

TEST_F(ParticleNode, AttachesToAnObjectNodeOfAnyCaseOnly) {
  Scene& scene = build(emitterScene());
  auto system = oneParticle();
  EXPECT_FALSE(attachToNode(*system, scene, "Cam", 0.0f)) << "a camera node";
  EXPECT_FALSE(attachToNode(*system, scene, "Nowhere", 0.0f));
  EXPECT_TRUE(attachToNode(*system, scene, "eMITTER", 2.0f));
  EXPECT_STREQ(system->name, "eMITTER");
  EXPECT_EQ(system->lastTime, 2.0f);
}

TEST_F(ParticleNode, TheParticlesFollowTheNodesAnimation) {
  Scene& scene = build(emitterScene());
  auto system = oneParticle();
  ASSERT_TRUE(attachToNode(*system, scene, "emitter", 0.0f));
  system->spawnOne(random);
  drawFrame(scene, 0);
  const Vec3 start = spriteCentre();
  drawFrame(scene, 50);
  const Vec3 half = spriteCentre();
  drawFrame(scene, 100);
  const Vec3 end = spriteCentre();
  // The view is a rigid motion: the node's 10 units of travel stay 10 units in camera space, and
  // half of them at half the way.
  const Vec3 moved = end - start;
  EXPECT_NEAR(std::sqrt(dot(moved, moved)), 10.0f, 1e-3f);
  const Vec3 halfway = half - start;
  EXPECT_NEAR(std::sqrt(dot(halfway, halfway)), 5.0f, 1e-3f);
  EXPECT_EQ(system->liveCount(), 1u);
}

TEST_F(ParticleNode, MeshesDrawnAfterTheParticlesKeepTheirDepthTest) {
  Scene& scene = build(emitterScene());
  auto system = oneParticle();
  ASSERT_TRUE(attachToNode(*system, scene, "Emitter", 0.0f));
  system->spawnOne(random);
  drawFrame(scene, 0);
  const std::vector<DrawRecord>& draws = device().draws;
  ASSERT_EQ(draws.size(), 2u) << "the particles in the emitter's place, then the mesh of After";
  EXPECT_EQ(draws[0].call, "DrawIndexedPrimitive");
  EXPECT_EQ(draws[0].renderStates.at(D3DRS_ZENABLE), 0u);
  EXPECT_EQ(draws[1].call, "DrawIndexedPrimitiveUP");
  EXPECT_EQ(draws[1].renderStates.at(D3DRS_ZENABLE), 1u);
  EXPECT_EQ(draws[1].renderStates.at(D3DRS_LIGHTING), 1u);
  EXPECT_EQ(draws[1].fvf, FVF_XYZ_NORMAL_TEX1);
}

}  // namespace
}  // namespace demo::test
