#include "gfx/loaded_texture.h"

#include <gtest/gtest.h>

#include "support/recording_device.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo {
namespace {

using test::RecordingDirect3D;

class LoadedTextureTest : public ::testing::Test {
 protected:
  LoadedTextureTest() : d3d(new RecordingDirect3D), layer(test::recordingDirect3DFactory, d3d) {}
  ~LoadedTextureTest() override {
    layer.destroyDevice();
    d3d->Release();
  }
  void createDevice(bool reference = false) {
    if (reference)
      d3d->failingAttempts = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                              {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
    ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 16, 0), 0);
    d3d->lastDevice->clearLog();
  }
  std::string writePicture(const std::string& name, uint16_t w, uint16_t h, const std::vector<uint32_t>& argb) {
    TgaLayout layout;
    const auto bytes = writeTga(layout, w, h, argb);
    test::writeFile(dir / name, {bytes.begin(), bytes.end()});
    return (dir / name).string();
  }
  static std::vector<uint16_t> words16(Texture* t) {
    D3DLOCKED_RECT r{};
    D3DSURFACE_DESC d{};
    t->GetLevelDesc(0, &d);
    if (d.Pool == D3DPOOL_DEFAULT) return reinterpretDefault(t, d);
    EXPECT_EQ(t->LockRect(0, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<uint16_t> out;
    for (uint32_t y = 0; y < d.Height; ++y)
      for (uint32_t x = 0; x < d.Width; ++x)
        out.push_back(reinterpret_cast<const uint16_t*>(static_cast<uint8_t*>(r.pBits) + y * r.Pitch)[x]);
    t->UnlockRect(0);
    return out;
  }
  // Default-pool textures cannot be locked; the recording device keeps them as memory textures.
  static std::vector<uint16_t> reinterpretDefault(Texture* t, const D3DSURFACE_DESC& d) {
    auto* m = static_cast<MemoryTexture*>(t);
    std::vector<uint16_t> out;
    for (uint32_t y = 0; y < d.Height; ++y)
      for (uint32_t x = 0; x < d.Width; ++x)
        out.push_back(reinterpret_cast<const uint16_t*>(m->bits() + y * m->pitch())[x]);
    return out;
  }

  test::TempDir dir;
  RecordingDirect3D* d3d;
  DeviceLayer layer;
};

TEST_F(LoadedTextureTest, ImageTextureIsA32BitSystemMemoryTextureOfTheAskedSize) {
  createDevice();
  const std::string name = writePicture("a.tga", 2, 1, {0x11223344, 0x55667788});
  Texture* t = loadImageTexture(layer, name.c_str(), 4, 2);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(d3d->lastDevice->calls.at(0).toString(), "CreateTexture(4, 2, 1, 0, 21, 2)");
  auto* m = static_cast<MemoryTexture*>(t);
  EXPECT_FALSE(m->isLocked());
  const uint32_t* row1 = reinterpret_cast<const uint32_t*>(m->bits() + m->pitch());
  EXPECT_EQ(row1[0], 0x11223344u);
  EXPECT_EQ(row1[1], 0x11223344u);
  EXPECT_EQ(row1[2], 0x55667788u);
  t->Release();
  EXPECT_EQ(loadImageTexture(layer, (dir / "missing.tga").c_str(), 4, 4), nullptr);
  EXPECT_EQ(loadImageTexture(layer, name.c_str(), 0, 4), nullptr);  // creation fails
}

TEST_F(LoadedTextureTest, Texture16GoesToVideoMemoryThroughUpdateTextureUnlessOnTheReferenceDevice) {
  createDevice();
  const std::string name = writePicture("b.tga", 1, 1, {0x80FF8000});
  Texture* t = loadTexture16(layer, name.c_str(), 2, 2, false, true);
  ASSERT_NE(t, nullptr);
  D3DSURFACE_DESC d{};
  t->GetLevelDesc(0, &d);
  EXPECT_EQ(d.Pool, D3DPOOL_DEFAULT);
  EXPECT_EQ(d.Format, D3DFMT_R5G6B5);
  EXPECT_EQ(d3d->lastDevice->count("UpdateTexture"), 1u);
  EXPECT_EQ(words16(t), std::vector<uint16_t>(4, 0xFC00));
  t->Release();

  Texture* a = loadTexture16(layer, name.c_str(), 2, 2, true, false);
  ASSERT_NE(a, nullptr);
  a->GetLevelDesc(0, &d);
  EXPECT_EQ(d.Pool, D3DPOOL_SYSTEMMEM);
  EXPECT_EQ(d.Format, D3DFMT_A4R4G4B4);
  EXPECT_EQ(words16(a), std::vector<uint16_t>(4, 0x8F80));
  a->Release();
}

TEST_F(LoadedTextureTest, ReferenceDeviceKeepsTexturesInSystemMemory) {
  createDevice(true);
  const std::string name = writePicture("c.tga", 1, 1, {0xFFFFFFFF});
  Texture* t = loadTexture16(layer, name.c_str(), 2, 2, false, true);
  ASSERT_NE(t, nullptr);
  D3DSURFACE_DESC d{};
  t->GetLevelDesc(0, &d);
  EXPECT_EQ(d.Pool, D3DPOOL_SYSTEMMEM);
  EXPECT_EQ(d3d->lastDevice->count("UpdateTexture"), 0u);
  t->Release();
}

TEST_F(LoadedTextureTest, OpacityBrightnessBecomesTheAlphaNibble) {
  createDevice();
  const std::string colour = writePicture("colour.tga", 4, 1, {0xFF123456, 0xFF123456, 0xFF123456, 0xFF123456});
  // White, black, pure green (63 * 16 / 192 = 5) and a grey of 16, 32, 16 (1536 / 192 = 8).
  const std::string opacity = writePicture("opacity.tga", 4, 1, {0xFFFFFFFF, 0xFF000000, 0xFF00FF00, 0xFF808080});
  Texture* t = loadTextureWithOpacity(layer, colour.c_str(), 4, 1, opacity.c_str());
  ASSERT_NE(t, nullptr);
  const auto words = words16(t);
  EXPECT_EQ(words, (std::vector<uint16_t>{0xF135, 0x0135, 0x5135, 0x8135}));
  D3DSURFACE_DESC d{};
  t->GetLevelDesc(0, &d);
  EXPECT_EQ(d.Pool, D3DPOOL_DEFAULT);
  t->Release();
  EXPECT_EQ(loadTextureWithOpacity(layer, colour.c_str(), 4, 1, (dir / "none.tga").c_str()), nullptr);
}

TEST_F(LoadedTextureTest, CreationFailuresReturnNullAndReleaseWhatWasMade) {
  createDevice();
  const std::string name = writePicture("d.tga", 1, 1, {0xFFFFFFFF});
  d3d->lastDevice->failCreateTexture = true;
  EXPECT_EQ(loadTexture16(layer, name.c_str(), 2, 2, false, true), nullptr);
  EXPECT_EQ(loadTextureWithOpacity(layer, name.c_str(), 2, 2, name.c_str()), nullptr);
  // Leaks would show in the sanitizer build.
}

}  // namespace
}  // namespace demo
