#include "app/backends.h"

#include "music/audio_output.h"

#ifdef _WIN32
#include "platform/d3d8/d3d8_graphics.h"
#include "platform/win32/wave_out_device.h"
#include "platform/win32/win32_host.h"
#else
#include "platform/sdl/sdl_graphics.h"
#include "platform/sdl/sdl_host.h"
#include "platform/sdl/sdl_wave_out.h"
#include "platform/sdl/system_chatter.h"
#endif

namespace demo {

#ifdef _WIN32

// The show on its own platform: a Win32 window, Direct3D 8 and the wave output.
Backends createBackends(const BackendOptions& options) {
  Backends backends;
  Win32HostOptions hostOptions;
  hostOptions.noDialogs = options.noDialogs;
  backends.host = std::make_unique<Win32Host>(hostOptions);
  backends.direct3d = d3d8Direct3DCreate;
  backends.waveOut = std::make_unique<WaveOutDevice>();
  backends.music = std::make_unique<AudioOutput>(*backends.waveOut);
  return backends;
}

#else

// The plain show: SDL2 for the window, events, boxes and sound, OpenGL on the SDL window for the
// device, and the music played by its own thread.
Backends createBackends(const BackendOptions& options) {
  if (!options.verbose) quietSystemLibraries();
  Backends backends;
  SdlHostOptions hostOptions;
  hostOptions.noDialogs = options.noDialogs;
  backends.host = std::make_unique<SdlHost>(hostOptions);
  backends.direct3d = sdlDirect3DCreate;
  backends.waveOut = std::make_unique<SdlWaveOut>();
  backends.music = std::make_unique<AudioOutput>(*backends.waveOut);
  return backends;
}

#endif

}  // namespace demo
