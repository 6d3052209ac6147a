#include "app/backends.h"

#include "app/silent_music.h"
#include "platform/sdl/sdl_host.h"

namespace demo {

// The show's window, events and boxes come from SDL2. Until the OpenGL device and the audio output
// are wired here, there is no Direct3D factory (start-up stops at the device with its message) and
// the music player cannot open.
Backends createBackends(const BackendOptions& options) {
  Backends backends;
  SdlHostOptions hostOptions;
  hostOptions.noDialogs = options.noDialogs;
  backends.host = std::make_unique<SdlHost>(hostOptions);
  backends.music = std::make_unique<SilentMusic>();
  return backends;
}

}  // namespace demo
