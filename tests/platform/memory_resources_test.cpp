#include "platform/memory_resources.h"

#include <cstring>

#include <gtest/gtest.h>

namespace demo {
namespace {

struct TextureRelease {
  void operator()(Texture* t) const { t->Release(); }
};
using TexturePtr = std::unique_ptr<MemoryTexture, TextureRelease>;

TEST(MemoryTexture, RefusesUnusableFormatsAndSizes) {
  EXPECT_EQ(MemoryTexture::create(0, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED), nullptr);
  EXPECT_EQ(MemoryTexture::create(4, 4, 1, 0, D3DFMT_D16, D3DPOOL_MANAGED), nullptr);
  EXPECT_EQ(MemoryTexture::create(65536, 1, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED), nullptr);
}

TEST(MemoryTexture, LevelsHalveDownToOnePixel) {
  TexturePtr t(MemoryTexture::create(8, 2, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->GetLevelCount(), 4u);
  D3DSURFACE_DESC desc{};
  ASSERT_EQ(t->GetLevelDesc(3, &desc), D3D_OK);
  EXPECT_EQ(desc.Width, 1u);
  EXPECT_EQ(desc.Height, 1u);
  EXPECT_EQ(t->GetLevelDesc(4, &desc), D3DERR_INVALIDCALL);
}

TEST(MemoryTexture, LockRulesFollowThePool) {
  TexturePtr device(MemoryTexture::create(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_DEFAULT));
  D3DLOCKED_RECT locked{};
  EXPECT_EQ(device->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL) << "default-pool textures are not lockable";

  TexturePtr system(MemoryTexture::create(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_SYSTEMMEM));
  ASSERT_EQ(system->LockRect(0, &locked, nullptr, 0), D3D_OK);
  EXPECT_EQ(locked.Pitch, 8);
  EXPECT_EQ(system->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL) << "no second lock";
  static_cast<uint16_t*>(locked.pBits)[5] = 0xBEEF;
  ASSERT_EQ(system->UnlockRect(0), D3D_OK);
  EXPECT_EQ(system->UnlockRect(0), D3DERR_INVALIDCALL);

  const RECT rect{1, 1, 3, 3};
  ASSERT_EQ(system->LockRect(0, &locked, &rect, D3DLOCK_READONLY), D3D_OK);
  EXPECT_EQ(*static_cast<uint16_t*>(locked.pBits), 0xBEEF) << "a rectangle lock starts at its corner";
  const uint64_t before = system->revision();
  system->UnlockRect(0);
  EXPECT_EQ(system->revision(), before) << "a read-only lock changes nothing";

  ASSERT_EQ(device->copyFrom(*system), D3D_OK);
  EXPECT_EQ(reinterpret_cast<const uint16_t*>(device->bits())[5], 0xBEEF);
}

TEST(MemoryBuffer, LocksStayInsideTheBuffer) {
  MemoryBuffer buffer(16);
  uint8_t* data = nullptr;
  EXPECT_EQ(buffer.lock(8, 9, &data, 0), D3DERR_INVALIDCALL);
  ASSERT_EQ(buffer.lock(8, 0, &data, 0), D3D_OK) << "size 0 locks the rest";
  EXPECT_EQ(data, buffer.bytes() + 8);
  EXPECT_EQ(buffer.unlock(), D3D_OK);
  EXPECT_EQ(buffer.lock(17, 0, &data, 0), D3DERR_INVALIDCALL);
}

TEST(PrimitiveCounts, VerticesReadPerPrimitiveType) {
  EXPECT_EQ(primitiveVertexCount(D3DPT_TRIANGLELIST, 4), 12u);
  EXPECT_EQ(primitiveVertexCount(D3DPT_TRIANGLESTRIP, 128), 130u);
  EXPECT_EQ(primitiveVertexCount(D3DPT_LINELIST, 3), 6u);
}

}  // namespace
}  // namespace demo
