#pragma once
// A whole show on the headless OpenGL device: a script compiled from text, frames stepped by the
// show's own frame step with the music clock set by the test, and each presented frame read back.

#include <string>

#include "gfx/device_layer.h"
#include "headless_layer.h"
#include "platform/headless/headless_host.h"
#include "script/show.h"
#include "support/scripted_music.h"

namespace demo::test {

class HeadlessShow {
 public:
  // False (nothing can be drawn) when no EGL display can be opened.
  bool open(uint32_t width, uint32_t height, bool gles);
  bool compile(const std::string& text);
  // One frame with the music clock at demoTime; false once the show stops.
  bool frame(uint32_t demoTime);
  Frame read();

  HeadlessGraphicsConfig config;
  HeadlessHost host;
  ScriptedMusic music;
  DeviceLayer layer{headlessDirect3DCreate, &config};
  Show show{host, layer, music};  // destroyed first: its images hold the layer's textures
};

}  // namespace demo::test
