// The Direct3D 8 backend under Wine: the device layer's creation through it, reference counts as
// Direct3D keeps them, resource descriptions and locks crossing the boundary, and the read-back.

#include <cstring>

#include <gtest/gtest.h>

#include "gfx/device_layer.h"
#include "platform/d3d8/d3d8_graphics.h"
#include "platform/win32/win32_host.h"

namespace demo {
namespace {

class D3d8BackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.createWindow("Demo", 640, 480, true));
    ASSERT_EQ(layer.createDevice(host.windowHandle(), 640, 480, 16, 1), 0) << "windowed device";
    device = layer.device();
  }
  Win32Host host{{true}};
  DeviceLayer layer{d3d8Direct3DCreate, nullptr};
  RenderDevice* device = nullptr;
};

TEST_F(D3d8BackendTest, WindowedDeviceTakesTheDesktopModeAndReadsBack) {
  D3DDISPLAYMODE desktop{};
  ASSERT_EQ(layer.direct3d()->GetAdapterDisplayMode(0, &desktop), D3D_OK);
  EXPECT_EQ(layer.screenWidth(), int(desktop.Width));
  EXPECT_EQ(layer.screenHeight(), int(desktop.Height));
  EXPECT_GT(layer.direct3d()->GetAdapterModeCount(0), 0u);
  ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF3366CCu, 1.0f, 0), D3D_OK);
  const D3DRECT corner{0, 0, 2, 1};
  ASSERT_EQ(device->Clear(1, &corner, D3DCLEAR_TARGET, 0xFF000000u, 1.0f, 0), D3D_OK);
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(readD3d8BackBuffer(*device, rgba, width, height));
  ASSERT_EQ(width, desktop.Width);
  EXPECT_EQ(rgba[0], 0);
  EXPECT_EQ(rgba[2 * 4], 0x33) << "the third pixel of the top row";
  EXPECT_EQ(rgba[2 * 4 + 1], 0x66);
  EXPECT_EQ(rgba[2 * 4 + 2], 0xCC);
  EXPECT_EQ(rgba[width * 4], 0x33) << "the second row";
  EXPECT_EQ(device->Present(), D3D_OK);
  layer.destroyDevice();
  layer.destroyDevice();
}

TEST_F(D3d8BackendTest, BoundTexturesAndBuffersStayAliveUntilReplaced) {
  Texture* t = nullptr;
  ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
  device->SetTexture(1, t);
  t->AddRef();
  EXPECT_EQ(t->Release(), 2u);
  device->SetTexture(1, nullptr);
  t->AddRef();
  EXPECT_EQ(t->Release(), 1u);
  device->SetTexture(0, t);
  t->Release();  // the device's reference keeps it
  device->SetTexture(0, nullptr);

  VertexBuffer* vb = nullptr;
  ASSERT_EQ(device->CreateVertexBuffer(96, D3DUSAGE_WRITEONLY, FVF_XYZ_DIFFUSE_TEX1, D3DPOOL_SYSTEMMEM, &vb), D3D_OK);
  device->SetStreamSource(0, vb, 24);
  vb->AddRef();
  EXPECT_EQ(vb->Release(), 2u);
  EXPECT_EQ(device->SetStreamSource(1, vb, 24), D3DERR_INVALIDCALL);
  D3DVERTEXBUFFER_DESC desc{};
  ASSERT_EQ(vb->GetDesc(&desc), D3D_OK);
  EXPECT_EQ(desc.Size, 96u);
  EXPECT_EQ(desc.FVF, FVF_XYZ_DIFFUSE_TEX1);
  EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
  layer.destroyDevice();  // lets go of the stream source
  vb->AddRef();
  EXPECT_EQ(vb->Release(), 1u);
  vb->Release();
}

TEST_F(D3d8BackendTest, TexturesDescribeAndLockThemselvesAsDirect3DSays) {
  Texture* t = nullptr;
  ASSERT_EQ(device->CreateTexture(8, 2, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &t), D3D_OK);
  EXPECT_EQ(t->GetLevelCount(), 1u);
  D3DSURFACE_DESC desc{};
  ASSERT_EQ(t->GetLevelDesc(0, &desc), D3D_OK);
  EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
  EXPECT_EQ(desc.Width, 8u);
  EXPECT_EQ(desc.Height, 2u);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  D3DLOCKED_RECT whole{}, part{};
  ASSERT_EQ(t->LockRect(0, &whole, nullptr, 0), D3D_OK);
  ASSERT_GE(whole.Pitch, 16);
  t->UnlockRect(0);
  const RECT second{2, 1, 4, 2};
  ASSERT_EQ(t->LockRect(0, &part, &second, 0), D3D_OK);
  EXPECT_EQ(static_cast<uint8_t*>(part.pBits) - static_cast<uint8_t*>(whole.pBits), whole.Pitch + 4)
      << "row 1, column 2";
  t->UnlockRect(0);
  t->Release();
  Texture* video = nullptr;
  ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, D3DFMT_R5G6B5, D3DPOOL_DEFAULT, &video), D3D_OK);
  EXPECT_NE(video->LockRect(0, &whole, nullptr, 0), D3D_OK) << "default-pool textures cannot be locked";
  video->Release();
}

}  // namespace
}  // namespace demo
