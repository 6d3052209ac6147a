#include "platform/d3d8/d3d8_direct3d.h"

#include "platform/d3d8/d3d8_device.h"
#include "platform/d3d8/d3d8_graphics.h"

namespace demo {

HResult D3d8Direct3D::EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) {
  if (!out) return D3DERR_INVALIDCALL;
  ::D3DDISPLAYMODE native{};
  const HRESULT result = native_->EnumAdapterModes(adapter, mode, &native);
  if (SUCCEEDED(result)) *out = fromNative(native);
  return result;
}

HResult D3d8Direct3D::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) {
  if (!out) return D3DERR_INVALIDCALL;
  ::D3DDISPLAYMODE native{};
  const HRESULT result = native_->GetAdapterDisplayMode(adapter, &native);
  if (SUCCEEDED(result)) *out = fromNative(native);
  return result;
}

HResult D3d8Direct3D::CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow,
                                   uint32_t behaviorFlags, D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) {
  if (!parameters || !device) return D3DERR_INVALIDCALL;
  *device = nullptr;
  ::D3DPRESENT_PARAMETERS native = toNative(*parameters);
  IDirect3DDevice8* created = nullptr;
  const HRESULT result = native_->CreateDevice(adapter, convertEnum<::D3DDEVTYPE>(type),
                                               static_cast<HWND>(focusWindow), behaviorFlags, &native, &created);
  if (FAILED(result)) return result;
  *parameters = fromNative(native);
  *device = new D3d8Device(created, this);
  return D3D_OK;
}

Direct3D* d3d8Direct3DCreate(void* /*context*/, uint32_t sdkVersion) {
  using Create = IDirect3D8*(WINAPI*)(UINT);
  // Kept loaded for the life of the process: the objects it makes may outlive any one owner.
  static HMODULE library = LoadLibraryA("d3d8.dll");
  if (!library) return nullptr;
  const auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(library, "Direct3DCreate8")));
  IDirect3D8* native = create ? create(sdkVersion) : nullptr;
  return native ? new D3d8Direct3D(native) : nullptr;
}

}  // namespace demo
