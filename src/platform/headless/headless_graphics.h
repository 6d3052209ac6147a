#pragma once
// Rendering without any display: an EGL context on Mesa (the surfaceless platform, else the device
// platform) drawing into the OpenGL device's back buffer, which tests and capture read back.

#include <cstdint>

#include "platform/render_device.h"

namespace demo {

// What the headless Direct3D object reports as the desktop; zero fields mean the defaults.
struct HeadlessGraphicsConfig {
  uint32_t width = 640;
  uint32_t height = 480;
  bool gles = false;  // an OpenGL ES 3.0 context instead of OpenGL 3.3 core
};

// A Direct3DFactory: context is a HeadlessGraphicsConfig (or null for 640 x 480, OpenGL 3.3).
// Null when no EGL display can be opened or the SDK version is not Direct3D 8's.
Direct3D* headlessDirect3DCreate(void* context, uint32_t sdkVersion);

}  // namespace demo
