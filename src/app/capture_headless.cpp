// Capture in the native build: the headless OpenGL device, no window.
#include "app/capture.h"
#include "capture/capture_graphics.h"
#include "platform/gl/gl_device.h"
#include "platform/headless/headless_graphics.h"

namespace demo {

int runCapture(const CaptureOptions& options, const std::string& showText, const char* scriptName, std::FILE* log) {
  HeadlessGraphicsConfig desktop;
  desktop.width = options.width;
  desktop.height = options.height;
  CaptureGraphics graphics;
  graphics.direct3d = headlessDirect3DCreate;
  graphics.direct3dContext = &desktop;
  // Capture creates the device on the headless OpenGL backend, whatever fallback it took.
  graphics.readBack = [](RenderDevice& device, std::vector<uint8_t>& rgba) {
    return static_cast<GlDevice&>(device).readPixels(rgba);
  };
  return runCaptureWith(graphics, options, showText, scriptName, log);
}

}  // namespace demo
