#pragma once
// A Direct3D object whose desktop has the capture's size. The show's windowed back buffer takes the
// desktop's size, so a capture on a backend drawing for a real screen (Direct3D 8 in the Windows
// build) would otherwise get whatever size the screen has. Everything else is the real backend's.

#include <cstdint>

#include "platform/render_device.h"

namespace demo {

struct CaptureDesktop {
  Direct3DFactory direct3d = nullptr;  // the real backend
  void* direct3dContext = nullptr;
  uint32_t width = 640;
  uint32_t height = 480;
};

// A Direct3DFactory: context is a CaptureDesktop. Null when the real backend's factory fails.
Direct3D* captureDesktopDirect3DCreate(void* context, uint32_t sdkVersion);

}  // namespace demo
