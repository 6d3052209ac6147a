#include "app/backends.h"

#include "app/silent_music.h"
#include "platform/headless/headless_host.h"

namespace demo {

// Until the SDL2 host, the OpenGL device and the audio output are wired here, the show runs on the
// headless host (a virtual window, boxes on stderr) with no Direct3D factory, so start-up stops at
// the device with its message, and with a music player that cannot open.
Backends createBackends(const BackendOptions&) {
  Backends backends;
  backends.host = std::make_unique<HeadlessHost>();
  backends.music = std::make_unique<SilentMusic>();
  return backends;
}

}  // namespace demo
