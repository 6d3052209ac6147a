#pragma once
// SDL's side of the OpenGL device: display modes of display 0 and contexts on an SDL window.

#include <memory>

#include "platform/gl/gl_context.h"

namespace demo {

class SdlGlPlatform final : public GlPlatform {
 public:
  // Null when SDL's video subsystem cannot be started.
  static std::unique_ptr<SdlGlPlatform> open();
  ~SdlGlPlatform() override;

  bool displayMode(D3DDISPLAYMODE& mode) override;
  uint32_t modeCount() override;
  bool mode(uint32_t index, D3DDISPLAYMODE& mode) override;
  std::unique_ptr<GlContext> createContext(WindowHandle window, bool forceSoftware) override;

 private:
  SdlGlPlatform() = default;
};

}  // namespace demo
