// Metaball batches on the recording device: when they are drawn, and how each is drawn (solid, then
// wireframe).

#include <vector>

#include <gtest/gtest.h>

#include "fx/blob_batch.h"
#include "fx/cube_tables.h"
#include "fx_fixtures.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

class BlobBatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(batch.allocateBuffers());
    batch.layer = &h.layer;
    h.device().CreateTexture(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &environment);
    batch.texture = environment;
    batch.drawSolid = batch.drawWire = 1;
    batch.solidMaterial.Diffuse = {0.9f, 0.9f, 0.9f, 1.0f};
    batch.wireMaterial.Diffuse = {1, 1, 1, 0.01f};
    h.device().clearLog();
  }
  void TearDown() override { environment->Release(); }

  // A cell of n vertices (normals along +x) and the given number of triangles over its first three.
  void addCell(int n, int triangles) {
    std::vector<SurfaceVertex> vertices(static_cast<size_t>(n), SurfaceVertex{{0, 0, 0}, {1, 0, 0}});
    std::vector<int8_t> row;
    for (int t = 0; t < triangles; ++t) row.insert(row.end(), {0, 1, 2});
    row.push_back(CubeTables::RowEnd);
    batch.addCell(n, vertices.data(), row.data());
  }

  ShowHarness h;
  BlobBatch batch;
  Texture* environment = nullptr;
};

TEST_F(BlobBatchTest, ABatchOf189VerticesIsDrawnBeforeTheNextCellEvenIfItWouldFit) {
  for (int c = 0; c < 21; ++c) addCell(9, 1);
  ASSERT_EQ(batch.vertexCount, 189);
  EXPECT_TRUE(h.device().draws.empty());
  addCell(3, 1);
  ASSERT_EQ(h.device().draws.size(), 2u) << "the solid and the wireframe pass";
  EXPECT_EQ(h.device().draws[0].numVertices, 189u);
  EXPECT_EQ(h.device().draws[0].primitiveCount, 21u);
  EXPECT_EQ(batch.vertexCount, 3);
  EXPECT_EQ(batch.indexCount, 3);
  EXPECT_EQ(batch.indices[0], 0) << "the new cell starts the next batch";
}

TEST_F(BlobBatchTest, ABatchOf188VerticesTakesTwelveMore) {
  for (int c = 0; c < 47; ++c) addCell(4, 1);
  ASSERT_EQ(batch.vertexCount, 188);
  addCell(12, 1);
  EXPECT_TRUE(h.device().draws.empty());
  EXPECT_EQ(batch.vertexCount, 200);
  EXPECT_EQ(batch.indices[batch.indexCount - 1], 188 + 2) << "indices count from the cell's first vertex";
}

// Index counts go in threes: 183 takes a cell of five triangles, 186 is drawn first.
TEST_F(BlobBatchTest, IndicesPast185AlsoDrawTheBatch) {
  for (int c = 0; c < 12; ++c) addCell(3, 5);
  addCell(3, 1);
  ASSERT_EQ(batch.indexCount, 183);
  addCell(3, 5);
  EXPECT_TRUE(h.device().draws.empty());
  ASSERT_EQ(batch.indexCount, 198);
  addCell(3, 1);
  ASSERT_EQ(h.device().draws.size(), 2u);
  EXPECT_EQ(h.device().draws[0].primitiveCount, 66u);
  EXPECT_EQ(h.device().draws[0].indices.size(), 198u);

  h.device().clearLog();
  batch.flush();
  h.device().clearLog();
  for (int c = 0; c < 12; ++c) addCell(3, 5);
  addCell(3, 1);
  addCell(3, 1);
  ASSERT_EQ(batch.indexCount, 186);
  addCell(3, 1);
  ASSERT_EQ(h.device().draws.size(), 2u);
  EXPECT_EQ(h.device().draws[0].primitiveCount, 62u);
}

TEST_F(BlobBatchTest, TextureCoordinatesComeFromTheNormals) {
  const SurfaceVertex vertices[4] = {
      {{1, 2, 3}, {1, 0, 0}}, {{0, 0, 0}, {0, -1, 0}}, {{0, 0, 0}, {0.6f, 0.8f, 0}}, {{0, 0, 0}, {0, 0, 0}}};
  const int8_t row[] = {0, 1, 2, 1, 3, 2, CubeTables::RowEnd};
  batch.addCell(4, vertices, row);
  const VertexNormalTex& first = batch.vertices[0];
  EXPECT_EQ(first.x, 1.0f);
  EXPECT_EQ(first.z, 3.0f);
  EXPECT_EQ(first.nx, 1.0f);
  EXPECT_EQ(first.u, 1.0f);
  EXPECT_EQ(first.v, 0.5f);
  EXPECT_EQ(batch.vertices[1].v, 0.0f);
  EXPECT_FLOAT_EQ(batch.vertices[2].u, 0.8f);
  EXPECT_FLOAT_EQ(batch.vertices[2].v, 0.9f);
  EXPECT_EQ(batch.vertices[3].u, 0.5f) << "a flat field's zero normal looks at the picture's middle";
  EXPECT_EQ(batch.vertices[3].v, 0.5f);
}

TEST_F(BlobBatchTest, AFlushDrawsTheSolidTexturedThenTheFaintWireframeOverIt) {
  h.layer.setAlphaScale(0.5f);
  addCell(3, 1);
  addCell(4, 2);
  batch.flush();
  RecordingDevice& device = h.device();
  ASSERT_EQ(device.draws.size(), 2u);
  const DrawRecord& solid = device.draws[0];
  const DrawRecord& wire = device.draws[1];
  for (const DrawRecord* draw : {&solid, &wire}) {
    EXPECT_EQ(draw->call, "DrawIndexedPrimitiveUP");
    EXPECT_EQ(draw->type, D3DPT_TRIANGLELIST);
    EXPECT_EQ(draw->minVertexIndex, 0u);
    EXPECT_EQ(draw->numVertices, 7u);
    EXPECT_EQ(draw->primitiveCount, 3u);
    EXPECT_EQ(draw->stride, 32u);
    EXPECT_EQ(draw->indices, (std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 3, 4, 5}));
  }
  EXPECT_EQ(solid.texture0, environment);
  EXPECT_EQ(solid.renderStates.at(D3DRS_FILLMODE), D3DFILL_SOLID);
  EXPECT_EQ(wire.texture0, nullptr);
  EXPECT_EQ(wire.renderStates.at(D3DRS_FILLMODE), D3DFILL_WIREFRAME);
  EXPECT_EQ(wire.renderStates.at(D3DRS_ZENABLE), D3DZB_FALSE);
  // The layer scales the materials' diffuse alpha.
  EXPECT_FLOAT_EQ(solid.material.Diffuse.r, 0.9f);
  EXPECT_FLOAT_EQ(solid.material.Diffuse.a, 0.5f);
  EXPECT_FLOAT_EQ(wire.material.Diffuse.a, 0.005f);
  EXPECT_EQ(device.renderState(D3DRS_ZENABLE), D3DZB_TRUE);
  EXPECT_EQ(device.renderState(D3DRS_FILLMODE), D3DFILL_SOLID);
  EXPECT_EQ(batch.vertexCount, 0);
  EXPECT_EQ(batch.indexCount, 0);
  device.clearLog();
  batch.flush();
  EXPECT_TRUE(device.calls.empty()) << "an empty batch draws nothing";
}

TEST_F(BlobBatchTest, EachPassCanBeLeftOut) {
  batch.drawWire = 0;
  addCell(3, 1);
  batch.flush();
  ASSERT_EQ(h.device().draws.size(), 1u);
  EXPECT_EQ(h.device().draws[0].texture0, environment);
  EXPECT_EQ(h.device().count("SetRenderState"), 0u);
  h.device().clearLog();
  batch.drawWire = 1;
  batch.drawSolid = 0;
  addCell(3, 1);
  batch.flush();
  ASSERT_EQ(h.device().draws.size(), 1u);
  EXPECT_EQ(h.device().draws[0].renderStates.at(D3DRS_FILLMODE), D3DFILL_WIREFRAME);
}

TEST_F(BlobBatchTest, WithoutALayerABatchIsOnlyEmptied) {
  batch.layer = nullptr;
  addCell(3, 1);
  batch.flush();
  EXPECT_EQ(batch.vertexCount, 0);
  EXPECT_TRUE(h.device().calls.empty());
}

}  // namespace
}  // namespace demo::test
