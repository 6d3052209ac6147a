#include "fx_fixtures.h"

#include <cstring>
#include <random>

#include <gtest/gtest.h>

namespace demo::test {

std::vector<uint32_t> randomPicture(uint32_t width, uint32_t height, uint32_t seed) {
  std::mt19937 generator(seed);
  std::vector<uint32_t> picture(size_t{width} * height);
  for (uint32_t& pixel : picture) pixel = static_cast<uint32_t>(generator());
  return picture;
}

std::vector<uint8_t> pictureBytes(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height, uint32_t pitch) {
  std::vector<uint8_t> bytes(size_t{pitch} * height, 0xCD);
  for (uint32_t y = 0; y < height; ++y)
    std::memcpy(bytes.data() + size_t{y} * pitch, argb.data() + size_t{y} * width, size_t{width} * 4);
  return bytes;
}

Texture* makeSourceTexture(RenderDevice& device, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb) {
  Texture* texture = nullptr;
  EXPECT_EQ(device.CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &texture), D3D_OK);
  if (!texture) return nullptr;
  D3DLOCKED_RECT rect{};
  EXPECT_EQ(texture->LockRect(0, &rect, nullptr, 0), D3D_OK);
  for (uint32_t y = 0; y < height; ++y)
    std::memcpy(static_cast<uint8_t*>(rect.pBits) + size_t{y} * rect.Pitch, argb.data() + size_t{y} * width,
                size_t{width} * 4);
  texture->UnlockRect(0);
  return texture;
}

std::vector<uint16_t> texels16(Texture* texture) {
  D3DSURFACE_DESC desc{};
  EXPECT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
  std::vector<uint16_t> texels(size_t{desc.Width} * desc.Height);
  D3DLOCKED_RECT rect{};
  if (texture->LockRect(0, &rect, nullptr, D3DLOCK_READONLY) != D3D_OK) {
    ADD_FAILURE() << "the texture cannot be locked";
    return texels;
  }
  for (uint32_t y = 0; y < desc.Height; ++y)
    std::memcpy(texels.data() + size_t{y} * desc.Width, static_cast<uint8_t*>(rect.pBits) + size_t{y} * rect.Pitch,
                size_t{desc.Width} * 2);
  texture->UnlockRect(0);
  return texels;
}

}  // namespace demo::test
