#pragma once
// Our Direct3D interface over IDirect3D8: display modes and device creation, passed on unchanged.

#include "platform/d3d8/d3d8_native.h"
#include "platform/memory_resources.h"

namespace demo {

class D3d8Direct3D final : public RefCounted<Direct3D> {
 public:
  // Takes over the reference to the native object.
  explicit D3d8Direct3D(IDirect3D8* native) : native_(native) {}

  uint32_t GetAdapterModeCount(uint32_t adapter) override { return native_->GetAdapterModeCount(adapter); }
  HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) override;
  HResult GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) override;
  // On success the parameters hold what the device actually took (Direct3D fills in zero sizes).
  HResult CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) override;

 private:
  ~D3d8Direct3D() override { native_->Release(); }
  IDirect3D8* native_;
};

}  // namespace demo
