#pragma once
// The application over the headless host, a recording device and a scripted music player, with a
// script written to a temporary folder.

#include <string>

#include "app/application.h"
#include "platform/headless/headless_host.h"
#include "support/recording_device.h"
#include "support/scripted_music.h"
#include "support/testdata.h"

namespace demo::test {

class AppHarness {
 public:
  AppHarness() : d3d(new RecordingDirect3D), layer(recordingDirect3DFactory, d3d), app(host, layer, music) {
    host.printMessageBoxes = false;
  }
  ~AppHarness() {
    if (device) device->Release();
    d3d->Release();
  }

  // Runs the show on the given script text with the given command line.
  int run(const std::string& script, const char* commandLine = "win") {
    const auto path = dir / "demo.run";
    writeFile(path, std::vector<unsigned char>(script.begin(), script.end()));
    return app.run(commandLine, path.c_str());
  }

  // Keeps the device the show creates alive past its release, so its log can be read afterwards,
  // and advances the music clock by `step` ms on every idle pass (one per frame).
  void recordFrames(uint32_t step) {
    host.onIdle = [this, step](HeadlessHost&) {
      if (!device && d3d->lastDevice) {
        device = d3d->lastDevice;
        device->AddRef();
      }
      music.time += step;
      ++idlePasses;
    };
  }

  std::vector<uint32_t> clearColours() const {
    std::vector<uint32_t> colours;
    for (const DeviceCall& call : device->callsNamed("Clear")) colours.push_back(static_cast<uint32_t>(call.args[3]));
    return colours;
  }

  TempDir dir;
  RecordingDirect3D* d3d;
  HeadlessHost host;
  ScriptedMusic music;
  DeviceLayer layer;
  Application app;
  RecordingDevice* device = nullptr;
  int idlePasses = 0;
};

}  // namespace demo::test
