#include "support/show_harness.h"

#include <cstring>
#include <memory>

#include "script/compiler.h"

namespace demo::test {

ShowHarness::ShowHarness()
    : d3d(new RecordingDirect3D), layer(recordingDirect3DFactory, d3d), show(host, layer, music) {
  host.printMessageBoxes = false;
  host.createWindow("Demo", 640, 480, true);
  layer.createDevice(host.windowHandle(), 640, 480, 16, 1);
}

ShowHarness::~ShowHarness() { d3d->Release(); }

bool ShowHarness::compile(const std::string& text) {
  Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(text.size() + 1);
  std::memcpy(bytes.get(), text.data(), text.size());
  reader.assign(std::move(bytes), static_cast<uint32_t>(text.size()));
  return compileScript(show, reader);
}

StepResult ShowHarness::frame(uint32_t demoTime) {
  show.frame.demoTime = demoTime;
  if (show.timeline.stepInstructions(show) == StepResult::Stop) return StepResult::Stop;
  show.frame.sceneOpen = false;
  return show.timeline.runActive(show);
}

}  // namespace demo::test
