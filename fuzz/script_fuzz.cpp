// One script compiled into a fresh show, as demo --check compiles demo.run. The show's host, device
// layer and music player are made once: compiling touches none of them, while everything the
// compiler fills (registries, labels, the program) belongs to the show made for each input.

#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/headless/headless_host.h"
#include "script/compiler.h"
#include "script/show.h"
#include "support/recording_device.h"
#include "support/scripted_music.h"

namespace {

struct Stage {
  demo::test::RecordingDirect3D* d3d = new demo::test::RecordingDirect3D;
  demo::HeadlessHost host;
  demo::test::ScriptedMusic music;
  demo::DeviceLayer layer{demo::test::recordingDirect3DFactory, d3d};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 20) return 0;
  static Stage& stage = *new Stage;  // for the whole run, like the show's own objects
  demo::Show show(stage.host, stage.layer, stage.music);
  demo::Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(size);
  if (size) std::memcpy(bytes.get(), data, size);
  reader.assign(std::move(bytes), static_cast<uint32_t>(size));
  demo::compileScript(show, reader);
  return 0;
}
