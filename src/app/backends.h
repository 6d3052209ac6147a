#pragma once
// The one place that chooses the backends of the plain show: which Host, which Direct3D factory and
// which music player. Everything else sees only the interfaces.

#include <memory>

#include "music/music_player.h"
#include "platform/host.h"
#include "platform/render_device.h"
#include "platform/wave_out.h"

namespace demo {

struct BackendOptions {
  bool noDialogs = false;  // message boxes on stderr
  bool verbose = false;    // let the system libraries' own messages through (--verbose)
};

struct Backends {
  std::unique_ptr<Host> host;
  Direct3DFactory direct3d = nullptr;  // null: no device can be created
  void* direct3dContext = nullptr;
  std::unique_ptr<WaveOut> waveOut;  // declared before music, which plays through it
  std::unique_ptr<MusicPlayer> music;
};

Backends createBackends(const BackendOptions& options);

}  // namespace demo
