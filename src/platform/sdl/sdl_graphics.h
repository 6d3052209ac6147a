#pragma once
// The show's window as the OpenGL device's target: a 3.3 core context (ES 3.0 where desktop
// OpenGL is missing) on the SDL window that Host::windowHandle() returns, presented by swapping.

#include <cstdint>

#include "platform/render_device.h"

namespace demo {

// A Direct3DFactory for the SDL window; context is unused. The window itself is passed to
// CreateDevice as the focus window (an SDL_Window* created with SDL_WINDOW_OPENGL). Null when
// SDL's video subsystem cannot start or the SDK version is not Direct3D 8's.
Direct3D* sdlDirect3DCreate(void* context, uint32_t sdkVersion);

}  // namespace demo
