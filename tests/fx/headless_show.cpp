#include "headless_show.h"

#include <cstring>
#include <memory>

#include "app/frame_step.h"
#include "platform/gl/gl_device.h"
#include "script/compiler.h"

namespace demo::test {

bool HeadlessShow::open(uint32_t width, uint32_t height, bool gles) {
  config.width = width;
  config.height = height;
  config.gles = gles;
  Direct3D* probe = headlessDirect3DCreate(&config, D3D_SDK_VERSION_8);
  if (!probe) return false;
  probe->Release();
  host.printMessageBoxes = false;
  host.createWindow("Demo", 640, 480, true);
  return layer.createDevice(host.windowHandle(), 640, 480, 32, 1) == 0;
}

bool HeadlessShow::compile(const std::string& text) {
  Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(text.size() + 1);
  std::memcpy(bytes.get(), text.data(), text.size());
  reader.assign(std::move(bytes), static_cast<uint32_t>(text.size()));
  return compileScript(show, reader);
}

bool HeadlessShow::frame(uint32_t demoTime) {
  music.time = demoTime;
  return frameStep(show);
}

Frame HeadlessShow::read() {
  auto& gl = static_cast<GlDevice&>(*layer.device());
  Frame f;
  f.width = gl.backBufferWidth();
  f.height = gl.backBufferHeight();
  EXPECT_TRUE(gl.readPixels(f.rgba));
  EXPECT_EQ(gl.takeGlError(), 0u);
  return f;
}

}  // namespace demo::test
