#pragma once
// The Direct3D object of the OpenGL backends: display modes from the platform, and devices made on
// its contexts. Direct3D's three creation attempts keep a meaning here:
//   HAL + hardware vertex processing  a context drawn by graphics hardware (refused on a software
//                                     rasteriser, whose context is kept for the next attempt);
//   HAL + software vertex processing  a context, whatever draws it;
//   REF                               a context forced onto the software rasteriser.

#include <memory>
#include <string>

#include "platform/gl/gl_context.h"
#include "platform/memory_resources.h"

namespace demo {

class GlDirect3D final : public RefCounted<Direct3D> {
 public:
  explicit GlDirect3D(std::unique_ptr<GlPlatform> platform) : platform_(std::move(platform)) {}

  uint32_t GetAdapterModeCount(uint32_t adapter) override;
  HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) override;
  HResult GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) override;
  HResult CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) override;

  // Why the last CreateDevice failed, for diagnostics.
  const std::string& lastError() const { return lastError_; }

 private:
  ~GlDirect3D() override = default;

  std::unique_ptr<GlPlatform> platform_;
  std::unique_ptr<GlContext> spare_;
  std::string lastError_;
};

// The renderer names of software rasterisers (Mesa's llvmpipe and softpipe, SwiftShader, ...).
bool isSoftwareRenderer(const char* rendererName);

}  // namespace demo
