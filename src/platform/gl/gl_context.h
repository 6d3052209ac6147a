#pragma once
// What the OpenGL device needs from whoever owns the context: an SDL2 window (the show) or an EGL
// context without any display (tests, capture). Nothing here names SDL or EGL.

#include <cstdint>
#include <memory>

#include "platform/render_types.h"

namespace demo {

// The two dialects the shaders are written for: the shared subset of OpenGL 3.3 core and
// OpenGL ES 3.0, so a browser build stays possible.
enum class GlApi { OpenGL33, Gles30 };

class GlContext {
 public:
  virtual ~GlContext() = default;
  // Makes the context current on this thread (cheap when it already is).
  virtual bool makeCurrent() = 0;
  virtual GlApi api() const = 0;
  // The size of the window's framebuffer in pixels; 0 x 0 without a window.
  virtual void windowSize(int& width, int& height) = 0;
  // Shows the window's framebuffer; a context without a window does nothing.
  virtual void swapBuffers() = 0;
  // Presentation interval: 0 shows frames at once, 1 waits for the display's refresh.
  virtual void setSwapInterval(int /*interval*/) {}
  // Whether textures take GL_TEXTURE_SWIZZLE_*. WebGL 2 refuses them (an ES 3.0 feature it leaves
  // out): textures are then uploaded with their channels already in OpenGL's order.
  virtual bool textureSwizzle() const { return true; }
};

// The display side: the modes Direct3D reports and the contexts devices draw with.
class GlPlatform {
 public:
  virtual ~GlPlatform() = default;
  virtual bool displayMode(D3DDISPLAYMODE& mode) = 0;
  virtual uint32_t modeCount() = 0;
  virtual bool mode(uint32_t index, D3DDISPLAYMODE& mode) = 0;
  // A context for the window (null for none); with forceSoftware, one drawn by a software
  // rasteriser. Null when it cannot be made.
  virtual std::unique_ptr<GlContext> createContext(WindowHandle window, bool forceSoftware) = 0;
};

}  // namespace demo
