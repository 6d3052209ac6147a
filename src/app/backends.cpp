#include "app/backends.h"

#include "music/audio_output.h"
#include "platform/sdl/sdl_graphics.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/sdl_wave_out.h"

namespace demo {

// The plain show: SDL2 for the window, events, boxes and sound, OpenGL on the SDL window for the
// device, and the music played by its own thread.
Backends createBackends(const BackendOptions& options) {
  Backends backends;
  SdlHostOptions hostOptions;
  hostOptions.noDialogs = options.noDialogs;
  backends.host = std::make_unique<SdlHost>(hostOptions);
  backends.direct3d = sdlDirect3DCreate;
  backends.waveOut = std::make_unique<SdlWaveOut>();
  backends.music = std::make_unique<AudioOutput>(*backends.waveOut);
  return backends;
}

}  // namespace demo
