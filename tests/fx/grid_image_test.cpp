// Grid images on the recording device: the vertices and the shared strip, one indexed strip call
// per cell row.
#include <gtest/gtest.h>

#include "fx/grid_image.h"
#include "fx_fixtures.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

class GridImageTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (source) source->Release();
  }
  void init(GridImage& grid) {
    if (!source) source = makeSourceTexture(h.device(), 16, 16, randomPicture(16, 16, 1));
    ASSERT_TRUE(grid.initImage(h.layer, source, 0, 0, 0, 1, 1));
  }

  ShowHarness h;
  Texture* source = nullptr;
};

TEST_F(GridImageTest, SixtyFourSquaredDrawsSixtyFourStripsOfOneHundredAndTwentyEightTriangles) {
  GridImage grid(64, 64, 0, 0, 1, 1);
  init(grid);
  ASSERT_EQ(grid.vertices.size(), 4225u);
  ASSERT_EQ(grid.indices.size(), 130u);
  h.device().clearLog();
  EXPECT_EQ(grid.draw(h.layer), 1);
  ASSERT_EQ(h.device().draws.size(), 64u);
  for (size_t r = 0; r < 64; ++r) {
    const DrawRecord& strip = h.device().draws[r];
    ASSERT_EQ(strip.call, "DrawIndexedPrimitiveUP");
    EXPECT_EQ(strip.type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(strip.minVertexIndex, 0u);
    EXPECT_EQ(strip.numVertices, 130u);
    EXPECT_EQ(strip.primitiveCount, 128u);
    EXPECT_EQ(strip.stride, 24u);
    EXPECT_EQ(strip.fvf, FVF_XYZ_DIFFUSE_TEX1);
    EXPECT_EQ(strip.texture0, grid.ownTexture);
    // The data of call r starts at the first vertex of row r.
    EXPECT_FLOAT_EQ(strip.colorVertex(0).y, 1.0f - 2.0f * static_cast<float>(r) / 64.0f);
    EXPECT_EQ(strip.colorVertex(0).x, -1.0f);
  }
  // The vertex below, then the vertex above, column by column.
  const auto& shared = h.device().draws[5].indices;
  ASSERT_EQ(shared.size(), 130u);
  EXPECT_EQ(shared[0], 65u);
  EXPECT_EQ(shared[1], 0u);
  EXPECT_EQ(shared[128], 129u);
  EXPECT_EQ(shared[129], 64u);
  EXPECT_EQ(h.device().callsNamed("DrawIndexedPrimitiveUP")[0].args[4], static_cast<uint64_t>(D3DFMT_INDEX16));
  EXPECT_EQ(h.layer.stackDepth(0), 0);
}

TEST_F(GridImageTest, VerticesSpanTheImageSquareAndTheTextureRectangle) {
  GridImage grid(4, 2, 0.25f, 0.5f, 0.75f, 1.0f);
  ASSERT_EQ(grid.vertices.size(), 15u);
  const GridVertex& first = grid.vertices.front();
  const GridVertex& last = grid.vertices.back();
  EXPECT_EQ(first.x, -1.0f);
  EXPECT_EQ(first.y, 1.0f);
  EXPECT_EQ(first.z, 1.0f);
  EXPECT_EQ(first.u, 0.25f);
  EXPECT_EQ(first.v, 0.5f);
  EXPECT_EQ(last.x, 1.0f);
  EXPECT_EQ(last.y, -1.0f);
  EXPECT_EQ(last.u, 0.75f);
  EXPECT_EQ(last.v, 1.0f);
  const GridVertex& middle = grid.vertices[5 + 2];  // row 1, column 2
  EXPECT_EQ(middle.x, 0.0f);
  EXPECT_EQ(middle.y, 0.0f);
  EXPECT_EQ(middle.u, 0.5f);
  EXPECT_EQ(middle.v, 0.75f);
  for (const GridVertex& v : grid.vertices) EXPECT_EQ(v.colour, 0xFFFFFFFFu);
}

TEST_F(GridImageTest, OneByOneIsOneStripOverTheCornersOfAPlainImage) {
  GridImage grid(1, 1, 0, 0, 1, 1);
  init(grid);
  grid.x = 0.5f;
  grid.width = -0.5f;
  h.device().clearLog();
  grid.draw(h.layer);
  ASSERT_EQ(h.device().draws.size(), 1u);
  const DrawRecord& strip = h.device().draws[0];
  EXPECT_EQ(strip.primitiveCount, 2u);
  EXPECT_EQ(strip.indices, (std::vector<uint32_t>{2, 0, 3, 1}));

  Image plain;
  ASSERT_TRUE(plain.initImage(h.layer, source, 0, 0, 0, 1, 1));
  plain.x = 0.5f;
  plain.width = -0.5f;
  h.device().clearLog();
  plain.draw(h.layer);
  const DrawRecord& quad = h.device().draws[0];
  for (int i = 0; i < 16; ++i) EXPECT_EQ(strip.world.m[i], quad.world.m[i]);
  // The grid's four vertices are the quad's corners; its strip (2, 0, 3, 1) splits the square along
  // the other diagonal, which covers the same pixels (checked on the headless device).
  for (int i = 0; i < 4; ++i) {
    const VertexColorTex q = quad.colorVertex(i), g = strip.colorVertex(i);
    EXPECT_EQ(q.x, g.x);
    EXPECT_EQ(q.y, g.y);
    EXPECT_EQ(q.u, g.u);
    EXPECT_EQ(q.v, g.v);
  }
}

TEST_F(GridImageTest, AGridWithoutCellsDrawsNothing) {
  GridImage grid(0, 5, 0, 0, 1, 1);
  EXPECT_TRUE(grid.vertices.empty());
  h.device().clearLog();
  EXPECT_EQ(grid.draw(h.layer), 1);
  EXPECT_TRUE(h.device().calls.empty());
}

}  // namespace
}  // namespace demo::test
