// Capture in the Windows build: Direct3D 8 presenting into a real window (Direct3D needs one), its
// back buffer read back as each frame is finished, before Present. The window may be hidden or off
// screen: the back buffer is what gets captured, not the screen.
#include "app/capture.h"
#include "capture/capture_desktop.h"
#include "capture/capture_graphics.h"
#include "platform/d3d8/d3d8_graphics.h"
#include "platform/win32/win32_host.h"

namespace demo {

int runCapture(const CaptureOptions& options, const std::string& showText, const char* scriptName, std::FILE* log) {
  Win32HostOptions windowOptions;
  windowOptions.noDialogs = true;  // boxes go through the capture host anyway
  Win32Host window(windowOptions);
  CaptureDesktop desktop;
  desktop.direct3d = d3d8Direct3DCreate;
  desktop.width = options.width;
  desktop.height = options.height;
  CaptureGraphics graphics;
  graphics.direct3d = captureDesktopDirect3DCreate;
  graphics.direct3dContext = &desktop;
  graphics.window = &window;
  graphics.readBack = [&options](RenderDevice& device, std::vector<uint8_t>& rgba) {
    uint32_t width = 0, height = 0;
    return readD3d8BackBuffer(device, rgba, width, height) && width == options.width && height == options.height;
  };
  return runCaptureWith(graphics, options, showText, scriptName, log);
}

}  // namespace demo
