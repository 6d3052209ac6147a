// Triangles reaching past the back buffer interpolate as the whole triangle does (Direct3D's rule),
// not as the pieces a clipper cuts them into.

#include <algorithm>
#include <cstdlib>

#include "headless_fixture.h"

namespace demo::test {
namespace {

class GlClippingTest : public HeadlessDeviceTest {};

// The show's tiled image moving along the screen's diagonal, 1.5 screens wide and high: its own
// diagonal then runs through the back buffer's corners, where a clipper's new vertices are
// worst conditioned. The texture's red alternates column by column, so with linear filtering a
// pixel's red tells its texture coordinate u to the sampler's precision, and u depends on x alone:
// every column of the picture must hold one red. Clipped in float at the back buffer's edges, the
// triangles' pieces tilted, and pixels along the diagonal came out up to 3 steps off their column.
TEST_P(GlClippingTest, ATriangleCrossingTheBackBufferEdgesKeepsItsTexturePlane) {
  createDevice(320, 240, D3DFMT_X8R8G8B8);
  device_->SetRenderState(D3DRS_LIGHTING, 0);
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  std::vector<uint32_t> texels(256 * 2);
  for (uint32_t i = 0; i < texels.size(); ++i) texels[i] = i % 2 ? 0xFF0000u : 0x000000u;
  Texture* stripes = makeTexture(256, 2, D3DFMT_X8R8G8B8, texels);
  device_->SetTexture(0, stripes);
  device_->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  for (float t : {0.3234007f, 0.2611f, 0.1364f, -0.1238f, -0.2594f, -0.3841f}) {
    // As the show's images are placed: the -1 ... 1 square at depth 1, through a world matrix and a
    // projection that makes w = z.
    const D3DMATRIX world = {{1.5f, 0, 0, 0, 0, 1.5f, 0, 0, 0, 0, 1, 0, t, t, 0, 1}};
    const D3DMATRIX projection = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 1, 0, 0, -2, 0}};
    device_->SetTransform(D3DTS_WORLD, &world);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    const VertexColorTex quad[4] = {
        {-1, 1, 1, 0xFFFFFFFFu, 0, 0},
        {1, 1, 1, 0xFFFFFFFFu, 4, 0},
        {-1, -1, 1, 0xFFFFFFFFu, 0, 3},
        {1, -1, 1, 0xFFFFFFFFu, 4, 3},
    };
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex)), D3D_OK);
    const auto f = frame("clipped-diagonal");
    int offColumn = 0, worst = 0;
    for (uint32_t x = 0; x < width_; ++x)
      for (uint32_t y = 1; y < height_; ++y) {
        const int step = std::abs(pixel(f, x, y).r - pixel(f, x, 0).r);
        offColumn += step != 0;
        worst = std::max(worst, step);
      }
    EXPECT_EQ(offColumn, 0) << "at " << t << ": pixels off their column's red by up to " << worst;
  }
  stripes->Release();
}

INSTANTIATE_TEST_SUITE_P(Api, GlClippingTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
