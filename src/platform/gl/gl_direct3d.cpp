#include "platform/gl/gl_direct3d.h"

#include <cstring>

#include <epoxy/gl.h>

#include "platform/gl/gl_device.h"

namespace demo {

bool isSoftwareRenderer(const char* name) {
  if (!name) return false;
  for (const char* software : {"llvmpipe", "softpipe", "SwiftShader", "Software Rasterizer", "swrast"})
    if (std::strstr(name, software)) return true;
  return false;
}

uint32_t GlDirect3D::GetAdapterModeCount(uint32_t adapter) { return adapter == 0 ? platform_->modeCount() : 0; }

HResult GlDirect3D::EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) {
  if (adapter != 0 || !out || !platform_->mode(mode, *out)) return D3DERR_INVALIDCALL;
  return D3D_OK;
}

HResult GlDirect3D::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) {
  if (adapter != 0 || !out || !platform_->displayMode(*out)) return D3DERR_INVALIDCALL;
  return D3D_OK;
}

HResult GlDirect3D::CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                                 D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) {
  if (adapter != 0 || !parameters || !device) return D3DERR_INVALIDCALL;
  *device = nullptr;
  const bool reference = type == D3DDEVTYPE_REF;
  const bool hardwareOnly = type == D3DDEVTYPE_HAL && (behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING);
  std::unique_ptr<GlContext> context;
  if (!reference && spare_)
    context = std::move(spare_);
  else
    context = platform_->createContext(focusWindow, reference);
  if (!context || !context->makeCurrent()) {
    lastError_ = "no OpenGL context";
    return D3DERR_NOTAVAILABLE;
  }
  if (hardwareOnly && isSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER)))) {
    lastError_ = "the renderer is a software rasteriser";
    spare_ = std::move(context);
    return D3DERR_NOTAVAILABLE;
  }
  GlDevice* created = GlDevice::create(std::move(context), this, *parameters, lastError_);
  if (!created) return D3DERR_NOTAVAILABLE;
  *device = created;
  return D3D_OK;
}

}  // namespace demo
