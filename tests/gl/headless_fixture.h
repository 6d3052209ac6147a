#pragma once
// A headless OpenGL device for pixel tests, once per dialect (OpenGL 3.3 core and OpenGL ES 3.0),
// skipped with the reason when the machine cannot open an EGL display.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gl/gl_device.h"
#include "platform/render_device.h"

namespace demo::test {

struct Rgba {
  int r, g, b, a;
};

class HeadlessDeviceTest : public ::testing::TestWithParam<bool> {
 protected:
  static constexpr uint32_t Width = 64, Height = 64;

  void SetUp() override;
  void TearDown() override;

  // Creates the device with a back buffer of the given size and format.
  void createDevice(uint32_t width, uint32_t height, D3DFORMAT format);
  // The back buffer, top row first; written as a PNG too when DEMO_SNAPSHOT_DIR is set.
  std::vector<uint8_t> frame(const char* snapshotName = nullptr);
  Rgba pixel(const std::vector<uint8_t>& frame, uint32_t x, uint32_t y) const;

  // Untransformed drawing: world, view and projection identity, so positions are clip coordinates.
  // The quad covers pixel columns x0..x1-1 and rows y0..y1-1 (rows counted from the top).
  void drawQuad(int x0, int y0, int x1, int y1, D3DCOLOR color, float z = 0.5f, float u0 = 0, float v0 = 0,
                float u1 = 1, float v1 = 1);
  float clipX(float px) const { return 2.0f * px / static_cast<float>(width_) - 1.0f; }
  float clipY(float py) const { return 1.0f - 2.0f * py / static_cast<float>(height_); }
  Texture* makeTexture(uint32_t w, uint32_t h, D3DFORMAT format, const std::vector<uint32_t>& texels,
                       D3DPOOL pool = D3DPOOL_MANAGED);

  Direct3D* d3d_ = nullptr;
  GlDevice* device_ = nullptr;
  uint32_t width_ = Width, height_ = Height;
};

::testing::AssertionResult near(Rgba actual, Rgba expected, int tolerance = 1);

std::string apiName(const ::testing::TestParamInfo<bool>& info);

}  // namespace demo::test
