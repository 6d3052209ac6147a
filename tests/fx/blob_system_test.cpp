// Blob systems on the recording device: what makeblobs sets up, where the balls go, and the states,
// transforms and batches of one playblobs frame.

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "fx/blob_system.h"
#include "fx_fixtures.h"
#include "scene/look_at.h"
#include "scene/perspective.h"
#include "script/registries.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

constexpr float Pi = 3.1415927f;

void expectAt(const BlobSource& ball, float x, float y, float z, const char* which) {
  EXPECT_NEAR(ball.position.x, x, 1e-6f) << which;
  EXPECT_NEAR(ball.position.y, y, 1e-6f) << which;
  EXPECT_NEAR(ball.position.z, z, 1e-6f) << which;
}

TEST(BlobSystem, MakeblobsSetsUpFiveBallsInASixUnitCubeOfFortyCells) {
  ShowHarness h;
  std::unique_ptr<BlobSystem> system = createBlobSystem(h.layer);
  ASSERT_TRUE(system);
  const BlobBatch& batch = *system->batch;
  EXPECT_TRUE(batch.hasGrid());
  EXPECT_EQ(batch.cellsX(), 40);
  EXPECT_EQ(batch.cellsY(), 40);
  EXPECT_EQ(batch.cellsZ(), 40);
  EXPECT_EQ(batch.threshold, 0.7f);
  EXPECT_EQ(batch.boundsMin.x, -3.0f);
  EXPECT_EQ(batch.boundsMax.z, 3.0f);
  EXPECT_EQ(batch.vertexCount, 0);
  EXPECT_EQ(batch.drawSolid, 1);
  EXPECT_EQ(batch.drawWire, 1);
  const BlobSource* source = batch.sourcesHead;
  for (int b = 0; b < BlobSystem::BallCount; ++b, source = source->next) {
    ASSERT_EQ(source, &system->balls[b]) << "the balls in array order";
    EXPECT_EQ(source->radius, 0.8f);
    EXPECT_EQ(source->radiusSq, 0.64f);
    EXPECT_EQ(source->invRadiusSq, 1.5625f);
    EXPECT_EQ(source->strength, b == 0 ? 0.5f : 1.5f);
  }
  EXPECT_EQ(source, nullptr);
  EXPECT_EQ(batch.sourcesTail, &system->balls[4]);
  expectAt(system->balls[0], -0.6f, 0, -0.5f, "ball 0");
  expectAt(system->balls[1], 0.3f, 0, -0.5f, "ball 1");
  EXPECT_EQ(batch.solidMaterial.Diffuse.g, 0.9f);
  EXPECT_EQ(batch.solidMaterial.Diffuse.a, 1.0f);
  EXPECT_EQ(batch.solidMaterial.Ambient.b, 0.9f);
  EXPECT_EQ(batch.solidMaterial.Ambient.a, 0.0f);
  EXPECT_EQ(batch.solidMaterial.Specular.r, 0.0f);
  EXPECT_EQ(batch.wireMaterial.Emissive.r, 1.0f);
  EXPECT_EQ(batch.wireMaterial.Diffuse.a, 0.0f);
}

TEST(BlobSystem, BallsStartAboveTheCentreAndDrift) {
  BlobSystem system;
  moveBalls(0.0f, system.balls);
  expectAt(system.balls[0], -0.6f, 0.5f, -0.5f, "ball 0");
  expectAt(system.balls[1], 0.3f, 0.5f, 0.0f, "ball 1");
  expectAt(system.balls[2], -0.4f, 0.5f, -0.5f, "ball 2");
  expectAt(system.balls[3], 0.2f, 0.5f, 0.0f, "ball 3");
  expectAt(system.balls[4], -0.1f, 0.5f, -0.5f, "ball 4");
  // Half a phase on: sin(pi/2) = 1, cos(0.15 pi) = 0.8910065, cos(0.35 pi) sin(0.1 pi) = 0.1402906,
  // cos(0.3 pi) sin(0.05 pi) = 0.0919499, cos(0.115 pi) = 0.9354440, cos(0.325 pi) = 0.5224986.
  moveBalls(0.5f, system.balls);
  expectAt(system.balls[0], -0.1f, 0.4455033f, 0.5f * 0.1402906f - 0.5f, "ball 0");
  expectAt(system.balls[1], 0.5f * 0.0919499f + 0.3f, 0.4677220f, 0.5f * 0.5224986f - 0.5f, "ball 1");
  EXPECT_NEAR(system.balls[4].position.x, -0.1f, 1e-6f) << "sin(pi cos(pi/2))";
}

class PlayblobsFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    source = makeSourceTexture(h.device(), 16, 16, randomPicture(16, 16, 5));
    ASSERT_TRUE(image.initImage(h.layer, source, 0, 0, 0, 1, 1));
    system = createBlobSystem(h.layer);
    ASSERT_TRUE(system);
  }
  void TearDown() override { source->Release(); }

  ShowHarness h;
  Texture* source = nullptr;
  Image image;
  std::unique_ptr<BlobSystem> system;
};

TEST_F(PlayblobsFrame, DrawsLitTexturedBatchesThroughTheBlobCamera) {
  RecordingDevice& device = h.device();
  // What an image and a scene may have left behind.
  h.layer.setAlphaScale(0.25f);
  image.draw(h.layer);
  for (uint32_t light = 1; light < 4; ++light) device.LightEnable(light, true);
  device.clearLog();

  const float phase = 1.0f / 3;  // the light turned by pi/6
  system->drawBlobs(h.layer, phase, image);

  EXPECT_EQ(h.layer.alphaScale(), 1.0f);
  EXPECT_EQ(device.renderState(D3DRS_LIGHTING), 1u);
  EXPECT_TRUE(device.lightEnabled(0));
  for (uint32_t light = 1; light < 8; ++light) EXPECT_FALSE(device.lightEnabled(light)) << light;
  const D3DLIGHT8* light = device.light(0);
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(light->Type, D3DLIGHT_DIRECTIONAL);
  EXPECT_FLOAT_EQ(light->Diffuse.r, 0.9f);
  EXPECT_EQ(light->Diffuse.a, 0.0f);
  EXPECT_EQ(light->Specular.r, 0.0f);
  EXPECT_EQ(light->Ambient.r, 0.0f);
  EXPECT_NEAR(light->Direction.x, 0.5f, 1e-6f);
  EXPECT_EQ(light->Direction.y, 0.0f);
  EXPECT_NEAR(light->Direction.z, std::sqrt(3.0f) / 2, 1e-6f);
  EXPECT_EQ(light->Attenuation0, 0.2f);
  EXPECT_EQ(light->Attenuation1, 1.0f);
  EXPECT_EQ(light->Range, 0.0f);

  const D3DMATRIX projection = perspective(1.5707964f, 1.0f, 1.0f, 1000.0f);
  const D3DMATRIX view = lookAt({0, 0, -3}, {0, 0, 0}, {0, 1, 0}, 0.0f);
  ASSERT_GE(device.draws.size(), 4u) << "five balls make more than one batch";
  ASSERT_EQ(device.draws.size() % 2, 0u);
  for (size_t d = 0; d < device.draws.size(); ++d) {
    const DrawRecord& draw = device.draws[d];
    const bool solid = d % 2 == 0;
    SCOPED_TRACE(d);
    EXPECT_EQ(draw.call, "DrawIndexedPrimitiveUP");
    EXPECT_EQ(draw.fvf, FVF_XYZ_NORMAL_TEX1);
    EXPECT_LE(draw.numVertices, 200u);
    EXPECT_LE(draw.primitiveCount * 3, 200u);
    for (int i = 0; i < 16; ++i) {
      ASSERT_EQ(draw.projection.m[i], projection.m[i]);
      ASSERT_EQ(draw.world.m[i], view.m[i]);
    }
    EXPECT_EQ(draw.renderStates.at(D3DRS_ALPHABLENDENABLE), 1u);
    EXPECT_EQ(draw.renderStates.at(D3DRS_SRCBLEND), D3DBLEND_SRCALPHA);
    EXPECT_EQ(draw.renderStates.at(D3DRS_DESTBLEND), D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(draw.renderStates.at(D3DRS_CULLMODE), D3DCULL_CCW);
    EXPECT_EQ(draw.renderStates.at(D3DRS_ZWRITEENABLE), 1u);
    EXPECT_EQ(draw.renderStates.at(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(draw.stage0.at(D3DTSS_COLOROP), D3DTOP_MODULATE);
    EXPECT_EQ(draw.stage0.at(D3DTSS_COLORARG1), D3DTA_TEXTURE);
    EXPECT_EQ(draw.stage0.at(D3DTSS_ALPHAOP), D3DTOP_MODULATE) << "the image had set it to SELECTARG2";
    EXPECT_EQ(draw.texture1, nullptr);
    if (solid) {
      EXPECT_EQ(draw.texture0, image.ownTexture);
      EXPECT_EQ(draw.renderStates.at(D3DRS_ZENABLE), D3DZB_TRUE);
      EXPECT_EQ(draw.renderStates.at(D3DRS_FILLMODE), D3DFILL_SOLID);
      EXPECT_EQ(draw.material.Diffuse.a, 1.0f);
      EXPECT_FLOAT_EQ(draw.material.Ambient.r, 0.9f);
    } else {
      EXPECT_EQ(draw.texture0, nullptr);
      EXPECT_EQ(draw.renderStates.at(D3DRS_ZENABLE), D3DZB_FALSE);
      EXPECT_EQ(draw.renderStates.at(D3DRS_FILLMODE), D3DFILL_WIREFRAME);
      EXPECT_EQ(draw.material.Diffuse.r, 1.0f);
      EXPECT_FLOAT_EQ(draw.material.Diffuse.a, 0.01f);
      EXPECT_EQ(draw.material.Emissive.r, 0.0f) << "the faint lines are lit, not glowing";
      EXPECT_EQ(draw.vertices, device.draws[d - 1].vertices);
    }
  }
  EXPECT_EQ(h.layer.stackDepth(0), 0);
  EXPECT_EQ(h.layer.stackDepth(1), 0);
  EXPECT_EQ(h.layer.selectedStack(), 0);
  EXPECT_EQ(device.renderState(D3DRS_FILLMODE), D3DFILL_SOLID);
  EXPECT_EQ(system->batch->layer, nullptr);
}

TEST_F(PlayblobsFrame, EveryVertexTakesItsTextureFromItsNormal) {
  system->drawBlobs(h.layer, 2.7f, image);
  size_t vertices = 0;
  for (const DrawRecord& draw : h.device().draws) {
    const auto* v = reinterpret_cast<const VertexNormalTex*>(draw.vertices.data());
    for (size_t i = 0; i < draw.vertexCount(); ++i, ++vertices) {
      ASSERT_FALSE(std::isnan(v[i].u) || std::isnan(v[i].nx));
      ASSERT_EQ(v[i].u, (v[i].nx + 1) * 0.5f);
      ASSERT_EQ(v[i].v, (v[i].ny + 1) * 0.5f);
      ASSERT_LE(std::fabs(v[i].x), 1.6f) << "the balls stay near the middle of the grid";
    }
  }
  EXPECT_GT(vertices, 1000u);
}

TEST(BlobCommands, MakeblobsMakesASystemThatPlayblobsDrawsUntilItsEnd) {
  ShowHarness h;
  Texture* source = makeSourceTexture(h.device(), 8, 8, randomPicture(8, 8, 2));
  auto image = std::make_unique<Image>();
  ASSERT_TRUE(image->initImage(h.layer, source, 0, 0, 0, 1, 1));
  h.show.names.images.declareName("env")->object = h.show.objects.keep(std::move(image));
  ASSERT_TRUE(h.compile("makeblobs <b>\nstart\nplayblobs <b> <env> 1:000\nplayblobs <none> <env> 1:000\nat 2:000\n"));
  EXPECT_EQ(h.frame(0), StepResult::Continue);
  EXPECT_NE(effectAs<BlobSystem>(h.show.names.effects.findName("b")), nullptr);
  EXPECT_GT(h.device().draws.size(), 0u);
  h.device().clearLog();
  h.frame(999);
  EXPECT_GT(h.device().draws.size(), 0u);
  h.device().clearLog();
  h.frame(1000);
  EXPECT_TRUE(h.device().draws.empty()) << "both instructions are done";
  source->Release();
}

}  // namespace
}  // namespace demo::test
