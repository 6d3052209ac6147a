#pragma once
// EGL without a window: the display (surfaceless platform, falling back to the device platform)
// and contexts made current with no surface at all.

#include <cstdint>
#include <memory>

#include "platform/gl/gl_context.h"

namespace demo {

class EglPlatform final : public GlPlatform {
 public:
  // Null when no EGL display can be initialised.
  static std::unique_ptr<EglPlatform> open(uint32_t width, uint32_t height, bool gles);
  ~EglPlatform() override;  // leaves the displays initialised: see egl_context.cpp

  bool displayMode(D3DDISPLAYMODE& mode) override;
  uint32_t modeCount() override { return 2; }
  bool mode(uint32_t index, D3DDISPLAYMODE& mode) override;
  std::unique_ptr<GlContext> createContext(WindowHandle window, bool forceSoftware) override;

 private:
  EglPlatform(void* display, uint32_t width, uint32_t height, bool gles)
      : display_(display), width_(width), height_(height), gles_(gles) {}

  void* display_;
  void* softwareDisplay_ = nullptr;  // opened for a forced software context
  uint32_t width_, height_;
  bool gles_;
};

}  // namespace demo
