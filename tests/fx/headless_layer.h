#pragma once
// The device layer on a headless OpenGL device, for pixel tests of the effects: once per dialect
// (OpenGL 3.3 core and OpenGL ES 3.0), skipped with the reason when no EGL display can be opened.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/device_layer.h"
#include "platform/headless/headless_graphics.h"

namespace demo::test {

struct Rgb {
  int r, g, b;
};

::testing::AssertionResult near(Rgb actual, Rgb expected, int tolerance = 2);

// A back buffer read back as 8-bit RGBA, top row first.
struct Frame {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
  Rgb at(uint32_t x, uint32_t y) const;
  // Writes the frame as NAME-gl.png or NAME-es.png into $DEMO_SNAPSHOT_DIR, when that is set.
  void snapshot(const std::string& name, bool gles) const;
};

class HeadlessLayerTest : public ::testing::TestWithParam<bool> {
 protected:
  static constexpr uint32_t Width = 64, Height = 64;

  void SetUp() override;
  RenderDevice& device() { return *layer.device(); }
  // Clears to the colour and begins the scene.
  void clear(D3DCOLOR colour);
  // Ends the scene and reads the back buffer.
  Frame frame();
  // Point sampling on stage 0, so each pixel shows one texel exactly.
  void pointSampling();

  HeadlessGraphicsConfig config;
  DeviceLayer layer{headlessDirect3DCreate, &config};
};

std::string apiName(const ::testing::TestParamInfo<bool>& info);

}  // namespace demo::test
