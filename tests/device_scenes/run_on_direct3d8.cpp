// device_scenes.exe: every device scene on Direct3D 8, each snapshot written as NAME.pam into the
// current folder. Run under Wine by tests/device_compare, which draws the same scenes on the
// OpenGL device and compares. Exit status 0 when every scene ran.

#include <cstdio>
#include <string>

#include "pam_file.h"
#include "platform/d3d8/d3d8_graphics.h"
#include "platform/win32/win32_host.h"
#include "scene_runner.h"

namespace {

bool readBack(demo::RenderDevice& device, std::vector<uint8_t>& rgba) {
  uint32_t width = 0, height = 0;
  return demo::readD3d8BackBuffer(device, rgba, width, height) && width == demo::scenes::Width &&
         height == demo::scenes::Height;
}

}  // namespace

int main() {
  using namespace demo;
  Win32Host host({true});
  if (!host.createWindow("device scenes", 200, 200, true)) {
    std::fprintf(stderr, "device_scenes: no window\n");
    return 2;
  }
  Direct3D* direct3d = d3d8Direct3DCreate(nullptr, D3D_SDK_VERSION_8);
  if (!direct3d) {
    std::fprintf(stderr, "device_scenes: Direct3DCreate8 failed\n");
    return 2;
  }
  int failures = 0, written = 0;
  for (const scenes::DeviceScene& scene : scenes::deviceScenes()) {
    std::vector<scenes::Snapshot> snapshots;
    std::string error;
    if (!scenes::runScene(scene, *direct3d, host.windowHandle(), readBack, snapshots, error)) {
      std::fprintf(stderr, "device_scenes: %s\n", error.c_str());
      ++failures;
    }
    for (const scenes::Snapshot& s : snapshots) {
      if (scenes::writePam(s.name + ".pam", s.rgba, scenes::Width, scenes::Height))
        ++written;
      else
        ++failures;
    }
  }
  direct3d->Release();
  host.destroyWindow();
  std::printf("device_scenes: %d snapshots written, %d failures\n", written, failures);
  return failures ? 1 : 0;
}
