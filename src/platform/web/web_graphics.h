#pragma once
// The OpenGL device in a browser: WebGL 2 on the page's canvas, in the OpenGL ES 3.0 dialect.

#include <cstdint>
#include <string>

#include "platform/render_device.h"

namespace demo {

// What the browser's Direct3D object reports as the desktop, and the canvas it draws on.
struct WebGraphicsConfig {
  std::string canvas = "#canvas";  // CSS selector
  uint32_t width = 640;
  uint32_t height = 480;
};

// A Direct3DFactory: context is a WebGraphicsConfig (null for the defaults). Null when the SDK
// version is not Direct3D 8's. Whether the browser has WebGL 2 shows at CreateDevice.
Direct3D* webDirect3DCreate(void* context, uint32_t sdkVersion);

}  // namespace demo
