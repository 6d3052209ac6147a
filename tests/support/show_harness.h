#pragma once
// A fresh show for one test: the headless host, a recording device behind the device layer, a
// scripted music player, and helpers to compile a script from text and to run the timeline's half
// of a frame at a chosen clock reading.

#include <string>

#include "gfx/device_layer.h"
#include "platform/headless/headless_host.h"
#include "script/show.h"
#include "support/recording_device.h"
#include "support/scripted_music.h"

namespace demo::test {

class ShowHarness {
 public:
  ShowHarness();
  ~ShowHarness();

  // Compiles the text as the script (through a Reader, as a file would be read).
  bool compile(const std::string& text);
  // The timeline's part of a frame with demoTime set to the given reading: stepInstructions, then
  // (at a frame boundary) runActive with sceneOpen cleared. Stop when either stops.
  StepResult frame(uint32_t demoTime);

  RecordingDevice& device() { return *d3d->lastDevice; }
  const CompileState& compiler() const { return show.compiler; }

  RecordingDirect3D* d3d;
  HeadlessHost host;
  ScriptedMusic music;
  DeviceLayer layer;
  Show show;
};

}  // namespace demo::test
