#include "capture/capture_desktop.h"

#include "platform/memory_resources.h"

namespace demo {
namespace {

class ResizedDesktop final : public RefCounted<Direct3D> {
 public:
  ResizedDesktop(Direct3D* real, uint32_t width, uint32_t height) : real_(real), width_(width), height_(height) {}

  uint32_t GetAdapterModeCount(uint32_t adapter) override { return real_->GetAdapterModeCount(adapter); }
  HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) override {
    return real_->EnumAdapterModes(adapter, mode, out);
  }
  // The real desktop's format and refresh rate, the capture's size.
  HResult GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) override {
    const HResult result = real_->GetAdapterDisplayMode(adapter, out);
    if (result == D3D_OK && out) {
      out->Width = width_;
      out->Height = height_;
    }
    return result;
  }
  HResult CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) override {
    return real_->CreateDevice(adapter, type, focusWindow, behaviorFlags, parameters, device);
  }

 private:
  ~ResizedDesktop() override { real_->Release(); }

  Direct3D* real_;
  uint32_t width_, height_;
};

}  // namespace

Direct3D* captureDesktopDirect3DCreate(void* context, uint32_t sdkVersion) {
  const auto& desktop = *static_cast<const CaptureDesktop*>(context);
  Direct3D* real = desktop.direct3d ? desktop.direct3d(desktop.direct3dContext, sdkVersion) : nullptr;
  return real ? new ResizedDesktop(real, desktop.width, desktop.height) : nullptr;
}

}  // namespace demo
