#pragma once
// What a capture draws with: the one part of it that differs between the builds. Natively the
// headless OpenGL device (app/capture_headless.cpp), in the Windows build Direct3D 8 in a window
// (app/capture_direct3d8.cpp); the session, its schedule, the sound and the output are shared.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "capture/capture_options.h"
#include "platform/host.h"
#include "platform/render_device.h"

namespace demo {

// Reads the finished frame (just before Present) as 8-bit RGBA, top row first; false when it cannot.
using FrameReadBack = std::function<bool(RenderDevice& device, std::vector<uint8_t>& rgba)>;

struct CaptureGraphics {
  // Its desktop, and so the windowed back buffer, must have the capture's size.
  Direct3DFactory direct3d = nullptr;
  void* direct3dContext = nullptr;
  // The host of a real window for a device that needs one; null: the virtual window does.
  Host* window = nullptr;
  FrameReadBack readBack;
};

}  // namespace demo
