// Pixel tests of the OpenGL device against Direct3D 8's rules, in both dialects.

#include <cmath>
#include <cstring>

#include "headless_fixture.h"

namespace demo::test {
namespace {

constexpr int Any = -1;

class GlDeviceTest : public HeadlessDeviceTest {
 protected:
  void flat() {
    device_->SetRenderState(D3DRS_LIGHTING, 0);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  }
  void clear(D3DCOLOR color) {
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, color, 1.0f, 0), D3D_OK);
  }
};

TEST_P(GlDeviceTest, ClearFillsTheBackBufferAndRectanglesCountRowsFromTheTop) {
  clear(0xFF3366CCu);
  auto f = frame("clear");
  EXPECT_TRUE(near(pixel(f, 0, 0), {0x33, 0x66, 0xCC, 0xFF}, 0));
  EXPECT_TRUE(near(pixel(f, 63, 63), {0x33, 0x66, 0xCC, 0xFF}, 0));
  const D3DRECT top{0, 0, 64, 8};
  ASSERT_EQ(device_->Clear(1, &top, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0), D3D_OK);
  f = frame();
  EXPECT_TRUE(near(pixel(f, 10, 7), {0, 0, 0, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 10, 8), {0x33, 0x66, 0xCC, Any}, 0));
  EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_P(GlDeviceTest, TexelsLandOnTheirPixelsAndQuadsOnIntegerEdgesCoverExactlyTheirPixels) {
  clear(0xFF000000u);
  flat();
  std::vector<uint32_t> texels(16);
  for (uint32_t i = 0; i < 16; ++i) texels[i] = 0xFF000000u | (i * 16) << 16 | (255 - i * 16) << 8 | (i % 4) * 80;
  Texture* t = makeTexture(4, 4, D3DFMT_A8R8G8B8, texels);
  device_->SetTexture(0, t);
  drawQuad(0, 0, 64, 64, 0xFFFFFFFFu);
  auto f = frame("texel-placement");
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) {
      const uint32_t c = texels[(y / 16) * 4 + x / 16];
      ASSERT_TRUE(near(pixel(f, x, y), {int(c >> 16 & 255), int(c >> 8 & 255), int(c & 255), Any}, 0))
          << "pixel " << x << ", " << y;
    }
  // The right half, as an image at x = 0.5 with width 0.5 would be drawn.
  clear(0xFF000000u);
  device_->SetTexture(0, nullptr);
  drawQuad(32, 16, 64, 48, 0xFFFFFFFFu);
  f = frame();
  EXPECT_TRUE(near(pixel(f, 31, 30), {0, 0, 0, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 32, 30), {255, 255, 255, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 63, 16), {255, 255, 255, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 40, 15), {0, 0, 0, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 40, 47), {255, 255, 255, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 40, 48), {0, 0, 0, Any}, 0));
  t->Release();
}

// Direct3D samples every pixel at its integer coordinates: a depth ramp of 1/64 per pixel meets a flat
// quad at depth 0.25 exactly on column 16 (row 16), where LESSEQUAL must pass. Sampling a 1/128 pixel
// further on, as a shift of 63/64 of half a pixel did, failed there.
TEST_P(GlDeviceTest, PixelsAreSampledAtTheirIntegerCoordinates) {
  flat();
  for (bool downwards : {false, true}) {
    clear(0xFF000000u);
    drawQuad(0, 0, 64, 64, 0xFF0000FFu, 0.25f);
    const float right = downwards ? 0.0f : 1.0f, bottom = downwards ? 1.0f : 0.0f;
    const VertexColorTex ramp[4] = {{-1, 1, 0, 0xFFFFFF00u, 0, 0}, {1, 1, right, 0xFFFFFF00u, 0, 0},
                                    {-1, -1, bottom, 0xFFFFFF00u, 0, 0}, {1, -1, right + bottom, 0xFFFFFF00u, 0, 0}};
    device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, ramp, sizeof(VertexColorTex));
    const auto f = frame(downwards ? "sample-position-y" : "sample-position-x");
    const auto at = [&](uint32_t along) { return downwards ? pixel(f, 40, along) : pixel(f, along, 40); };
    EXPECT_TRUE(near(at(15), {255, 255, 0, Any}, 0)) << downwards;
    EXPECT_TRUE(near(at(16), {255, 255, 0, Any}, 0)) << downwards;
    EXPECT_TRUE(near(at(17), {0, 0, 255, Any}, 0)) << downwards;
  }
}

TEST_P(GlDeviceTest, WrapAddressingRepeatsAndLinearFilteringBlendsNeighbours) {
  clear(0xFF000000u);
  flat();
  Texture* t = makeTexture(2, 1, D3DFMT_X8R8G8B8, {0x00FF0000u, 0x000000FFu});
  device_->SetTexture(0, t);
  drawQuad(0, 0, 64, 64, 0xFFFFFFFFu, 0.5f, 0, 0, 2, 1);  // u runs to 2: the texture twice
  auto f = frame("wrap");
  for (uint32_t x : {0u, 15u, 32u, 47u}) EXPECT_TRUE(near(pixel(f, x, 5), {255, 0, 0, Any}, 0)) << x;
  for (uint32_t x : {16u, 31u, 48u, 63u}) EXPECT_TRUE(near(pixel(f, x, 5), {0, 0, 255, Any}, 0)) << x;
  device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
  device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
  drawQuad(0, 0, 64, 64, 0xFFFFFFFFu, 0.5f, 0, 0, 1, 1);
  f = frame();
  // Pixel 0's centre lies on the texture's left edge: half red, half the wrapped-around blue.
  EXPECT_TRUE(near(pixel(f, 0, 5), {128, 0, 127, Any}, 2));
  EXPECT_TRUE(near(pixel(f, 16, 5), {255, 0, 0, Any}, 1));
  t->Release();
}

TEST_P(GlDeviceTest, Wrap0InterpolatesTheShorterWayAcrossTheSeam) {
  clear(0xFF000000u);
  flat();
  // Quarters of u: red, green, blue, white.
  Texture* t = makeTexture(4, 1, D3DFMT_X8R8G8B8, {0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFFFFu});
  device_->SetTexture(0, t);
  // u runs from 0.9 at the left edge to 0.1 at the right: straight through 0.5, or across 1.0 = 0.
  drawQuad(0, 0, 64, 32, 0xFFFFFFFFu, 0.5f, 0.9f, 0, 0.1f, 1);
  device_->SetRenderState(D3DRS_WRAP0, D3DWRAP_U);
  drawQuad(0, 32, 64, 64, 0xFFFFFFFFu, 0.5f, 0.9f, 0, 0.1f, 1);
  const auto f = frame("wrap0");
  EXPECT_TRUE(near(pixel(f, 28, 10), {0, 0, 255, Any}, 0));      // u ~ 0.54 the long way
  EXPECT_TRUE(near(pixel(f, 28, 40), {255, 255, 255, Any}, 0));  // u ~ 0.96 the short way
  EXPECT_TRUE(near(pixel(f, 36, 40), {255, 0, 0, Any}, 0));      // u ~ 0.04 past the seam
  EXPECT_TRUE(near(pixel(f, 2, 40), {255, 255, 255, Any}, 0));
  t->Release();
}

struct BlendCase {
  uint32_t src, dst;
};

TEST_P(GlDeviceTest, EveryBlendFactorPairOfTheShowGivesDirect3DsResult) {
  // Destination 0x4080C0, source colour (128, 64, 32) with alpha 0x66 (0.4).
  const float dst[3] = {64 / 255.f, 128 / 255.f, 192 / 255.f};
  const float src[3] = {128 / 255.f, 64 / 255.f, 32 / 255.f};
  const float alpha = 0x66 / 255.f;
  const BlendCase cases[] = {
      {D3DBLEND_ONE, D3DBLEND_ONE},          {D3DBLEND_SRCALPHA, D3DBLEND_ONE},
      {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},     {D3DBLEND_SRCALPHA, D3DBLEND_ZERO},
      {D3DBLEND_SRCCOLOR, D3DBLEND_ZERO},    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},
      {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR}, {D3DBLEND_ONE, D3DBLEND_ZERO},
  };
  const auto factor = [&](uint32_t f, int c) {
    switch (f) {
      case D3DBLEND_ZERO: return 0.f;
      case D3DBLEND_ONE: return 1.f;
      case D3DBLEND_SRCCOLOR: return src[c];
      case D3DBLEND_INVSRCCOLOR: return 1 - src[c];
      case D3DBLEND_SRCALPHA: return alpha;
      default: return 1 - alpha;
    }
  };
  flat();
  for (const BlendCase& b : cases) {
    clear(0xFF4080C0u);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    device_->SetRenderState(D3DRS_SRCBLEND, b.src);
    device_->SetRenderState(D3DRS_DESTBLEND, b.dst);
    drawQuad(0, 0, 64, 64, 0x66804020u);
    const auto f = frame();
    int expected[3];
    for (int c = 0; c < 3; ++c)
      expected[c] = int(std::lround(std::min(1.f, src[c] * factor(b.src, c) + dst[c] * factor(b.dst, c)) * 255));
    EXPECT_TRUE(near(pixel(f, 20, 20), {expected[0], expected[1], expected[2], Any})) << b.src << "/" << b.dst;
  }
  // Blending off copies the source whatever the factors say.
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
  drawQuad(0, 0, 64, 64, 0x66804020u);
  EXPECT_TRUE(near(pixel(frame(), 5, 5), {128, 64, 32, Any}, 0));
}

TEST_P(GlDeviceTest, DepthTestKeepsTheNearerSurfaceAndCanBeSwitchedOff) {
  clear(0xFF000000u);
  flat();
  drawQuad(0, 0, 64, 64, 0xFFFF0000u, 0.25f);
  drawQuad(0, 0, 64, 64, 0xFF00FF00u, 0.75f);  // farther: hidden
  drawQuad(0, 0, 32, 64, 0xFF0000FFu, 0.25f);  // equal depth passes LESSEQUAL
  auto f = frame("depth");
  EXPECT_TRUE(near(pixel(f, 48, 10), {255, 0, 0, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 10, 10), {0, 0, 255, Any}, 0));
  device_->SetRenderState(D3DRS_ZENABLE, 0);
  drawQuad(0, 0, 64, 64, 0xFF00FF00u, 0.75f);
  EXPECT_TRUE(near(pixel(frame(), 48, 10), {0, 255, 0, Any}, 0));
  // Depth writes off: a near quad does not hide a farther one drawn after it.
  device_->SetRenderState(D3DRS_ZENABLE, 1);
  device_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
  clear(0xFF000000u);
  drawQuad(0, 0, 64, 64, 0xFFFF0000u, 0.25f);
  drawQuad(0, 0, 64, 64, 0xFF00FF00u, 0.75f);
  EXPECT_TRUE(near(pixel(frame(), 30, 30), {0, 255, 0, Any}, 0));
}

TEST_P(GlDeviceTest, CounterClockwiseTrianglesAreCulledByDefault) {
  clear(0xFF000000u);
  device_->SetRenderState(D3DRS_LIGHTING, 0);
  // Clockwise on screen (y down): left, top-right, bottom-right.
  const VertexColorTex cw[3] = {{clipX(0), clipY(0), 0.5f, 0xFFFF0000u, 0, 0},
                                {clipX(32), clipY(0), 0.5f, 0xFFFF0000u, 0, 0},
                                {clipX(32), clipY(32), 0.5f, 0xFFFF0000u, 0, 0}};
  const VertexColorTex ccw[3] = {cw[0], cw[2], cw[1]};
  device_->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof(VertexColorTex));
  auto f = frame("cull");
  EXPECT_TRUE(near(pixel(f, 28, 4), {255, 0, 0, Any}, 0));
  clear(0xFF000000u);
  device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(VertexColorTex));
  EXPECT_TRUE(near(pixel(frame(), 28, 4), {0, 0, 0, Any}, 0));
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, ccw, sizeof(VertexColorTex));
  EXPECT_TRUE(near(pixel(frame(), 28, 4), {255, 0, 0, Any}, 0));
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
  clear(0xFF000000u);
  device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, cw, sizeof(VertexColorTex));
  EXPECT_TRUE(near(pixel(frame(), 28, 4), {0, 0, 0, Any}, 0));
}

TEST_P(GlDeviceTest, AlphaOfA4444TextureModulatesAndBlends) {
  clear(0xFF000000u);
  flat();
  // Alpha 8 of 15, red 15, green 0, blue 0.
  Texture* t = makeTexture(1, 1, D3DFMT_A4R4G4B4, {0x8F00});
  device_->SetTexture(0, t);
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
  device_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
  device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  drawQuad(0, 0, 64, 64, 0xFFFFFFFFu);
  EXPECT_TRUE(near(pixel(frame("alpha4444"), 10, 10), {136, 0, 0, Any}));  // 255 * 8 / 15
  // SELECTARG2 takes the vertex alpha alone.
  clear(0xFF000000u);
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
  drawQuad(0, 0, 64, 64, 0x33FFFFFFu);
  EXPECT_TRUE(near(pixel(frame(), 10, 10), {51, 0, 0, Any}));
  // The default SELECTARG1 takes the texture's.
  clear(0xFF000000u);
  device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
  drawQuad(0, 0, 64, 64, 0x33FFFFFFu);
  EXPECT_TRUE(near(pixel(frame(), 10, 10), {136, 0, 0, Any}));
  t->Release();
}

TEST_P(GlDeviceTest, SixteenBitFormatsAndDefaultPoolTexturesFilledByUpdateTexture) {
  clear(0xFF000000u);
  flat();
  Texture* system = makeTexture(2, 1, D3DFMT_R5G6B5, {0xF800, 0x07E0}, D3DPOOL_SYSTEMMEM);
  Texture* video = nullptr;
  ASSERT_EQ(device_->CreateTexture(2, 1, 1, 0, D3DFMT_R5G6B5, D3DPOOL_DEFAULT, &video), D3D_OK);
  D3DLOCKED_RECT r{};
  EXPECT_EQ(video->LockRect(0, &r, nullptr, 0), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->UpdateTexture(video, system), D3DERR_INVALIDCALL);
  ASSERT_EQ(device_->UpdateTexture(system, video), D3D_OK);
  device_->SetTexture(0, video);
  drawQuad(0, 0, 64, 64, 0xFFFFFFFFu);
  auto f = frame();
  EXPECT_TRUE(near(pixel(f, 5, 5), {255, 0, 0, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 40, 5), {0, 255, 0, Any}, 0));
  system->Release();
  video->Release();
}

TEST_P(GlDeviceTest, AStageReadingAMissingTextureIsSkippedAndVertexColourShows) {
  clear(0xFF000000u);
  flat();
  drawQuad(0, 0, 64, 64, 0xFF204060u);
  EXPECT_TRUE(near(pixel(frame(), 30, 30), {0x20, 0x40, 0x60, Any}, 0));
  // Modulating with the texture factor instead runs the stage without reading a texture.
  device_->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF808080u);
  device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR);
  drawQuad(0, 0, 64, 64, 0xFF204060u);
  EXPECT_TRUE(near(pixel(frame(), 30, 30), {0x10, 0x20, 0x30, Any}));
}

TEST_P(GlDeviceTest, WireframeDrawsTheEdgesOfEveryTriangleOnly) {
  clear(0xFF000000u);
  device_->SetRenderState(D3DRS_LIGHTING, 0);
  device_->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
  drawQuad(8, 8, 56, 56, 0xFFFFFFFFu);  // a strip: its diagonal is an edge too
  const auto f = frame("wireframe");
  int lit = 0;
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) lit += pixel(f, x, y).r > 128;
  EXPECT_GT(lit, 4 * 40);   // four sides and a diagonal of about 48 pixels each
  EXPECT_LT(lit, 5 * 60);
  EXPECT_TRUE(near(pixel(f, 20, 40), {0, 0, 0, Any}, 0));  // inside, off the diagonal
  EXPECT_TRUE(near(pixel(f, 31, 8), {255, 255, 255, Any}, 0));  // on the top edge
  // With culling on, the strip's triangles are clockwise (front) and stay; reversed they vanish.
  clear(0xFF000000u);
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
  drawQuad(8, 56, 56, 8, 0xFFFFFFFFu);  // upside down: counter-clockwise
  int after = 0;
  const auto g = frame();
  for (uint32_t y = 0; y < 64; ++y)
    for (uint32_t x = 0; x < 64; ++x) after += pixel(g, x, y).r > 128;
  EXPECT_EQ(after, 0);
}

TEST_P(GlDeviceTest, IndexedDrawsFromBuffersAndUserMemoryCheckEveryIndex) {
  clear(0xFF000000u);
  flat();
  VertexBuffer* vb = nullptr;
  IndexBuffer* ib = nullptr;
  ASSERT_EQ(device_->CreateVertexBuffer(5 * 24, D3DUSAGE_WRITEONLY, FVF_XYZ_DIFFUSE_TEX1, D3DPOOL_SYSTEMMEM, &vb), 0);
  ASSERT_EQ(device_->CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM, &ib), 0);
  uint8_t* data = nullptr;
  ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
  const VertexColorTex v[5] = {{0, 0, 0, 0, 0, 0},  // unused first vertex: the base index skips it
                               {clipX(0), clipY(0), 0.5f, 0xFF00FF00u, 0, 0},
                               {clipX(64), clipY(0), 0.5f, 0xFF00FF00u, 0, 0},
                               {clipX(0), clipY(32), 0.5f, 0xFF00FF00u, 0, 0},
                               {clipX(64), clipY(32), 0.5f, 0xFF00FF00u, 0, 0}};
  std::memcpy(data, v, sizeof v);
  vb->Unlock();
  ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  std::memcpy(data, indices, sizeof indices);
  ib->Unlock();
  device_->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  device_->SetStreamSource(0, vb, 24);
  device_->SetIndices(ib, 1);
  ASSERT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
  auto f = frame("indexed");
  EXPECT_TRUE(near(pixel(f, 30, 10), {0, 255, 0, Any}, 0));
  EXPECT_TRUE(near(pixel(f, 30, 40), {0, 0, 0, Any}, 0));
  EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 3), D3DERR_INVALIDCALL);  // past the indices
  // Index 3 lies outside the vertices the call says it uses (0 to 2 from the base).
  EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 2), D3DERR_INVALIDCALL);
  device_->SetIndices(ib, 2);  // index 3 would now read vertex 5, past the buffer
  EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
  const uint16_t bad[3] = {0, 1, 4};
  EXPECT_EQ(device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4, 1, bad, D3DFMT_INDEX16, v + 1, 24),
            D3DERR_INVALIDCALL);
  // The device holds what is bound until it is replaced.
  vb->AddRef();
  EXPECT_EQ(vb->Release(), 2u);
  device_->SetStreamSource(0, nullptr, 0);
  vb->AddRef();
  EXPECT_EQ(vb->Release(), 1u);
  device_->SetIndices(nullptr, 0);
  vb->Release();
  ib->Release();
}

TEST_P(GlDeviceTest, DrawingOutsideASceneIsRefused) {
  device_->EndScene();
  EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
  device_->SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  const VertexColorTex v[3] = {};
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, 24), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->BeginScene(), D3D_OK);
  EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, v, 24), D3D_OK);
  EXPECT_EQ(device_->SetVertexShader(0x004 | D3DFVF_DIFFUSE), D3DERR_INVALIDCALL);  // pre-transformed: not offered
}

TEST_P(GlDeviceTest, TexturesBoundAtReleaseAreReleasedWithTheDevice) {
  Texture* t = makeTexture(1, 1, D3DFMT_A8R8G8B8, {0xFFFFFFFFu});
  device_->SetTexture(1, t);
  t->AddRef();
  EXPECT_EQ(t->Release(), 2u);
  device_->Release();
  device_ = nullptr;
  t->AddRef();
  EXPECT_EQ(t->Release(), 1u);
  t->Release();  // after its device: must not touch the gone context
}

INSTANTIATE_TEST_SUITE_P(Api, GlDeviceTest, ::testing::Values(false, true), apiName);

}  // namespace
}  // namespace demo::test
