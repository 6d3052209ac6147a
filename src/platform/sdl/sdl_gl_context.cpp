#include "platform/sdl/sdl_gl_context.h"

#include <SDL.h>

#include "platform/gl/gl_direct3d.h"
#include "platform/sdl/sdl_graphics.h"

namespace demo {

namespace {

D3DFORMAT formatOf(Uint32 sdlFormat) {
  return SDL_BITSPERPIXEL(sdlFormat) == 16 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8;
}

D3DDISPLAYMODE modeOf(const SDL_DisplayMode& m) {
  return {static_cast<uint32_t>(m.w), static_cast<uint32_t>(m.h), static_cast<uint32_t>(m.refresh_rate),
          formatOf(m.format)};
}

class SdlGlContext final : public GlContext {
 public:
  SdlGlContext(SDL_Window* window, SDL_GLContext context, GlApi api) : window_(window), context_(context), api_(api) {}
  ~SdlGlContext() override { SDL_GL_DeleteContext(context_); }
  bool makeCurrent() override {
    if (SDL_GL_GetCurrentContext() == context_) return true;
    return SDL_GL_MakeCurrent(window_, context_) == 0;
  }
  GlApi api() const override { return api_; }
  void windowSize(int& width, int& height) override { SDL_GL_GetDrawableSize(window_, &width, &height); }
  void swapBuffers() override { SDL_GL_SwapWindow(window_); }
  void setSwapInterval(int interval) override { SDL_GL_SetSwapInterval(interval); }

 private:
  SDL_Window* window_;
  SDL_GLContext context_;
  GlApi api_;
};

SDL_GLContext createWith(SDL_Window* window, int profile, int major, int minor) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, profile);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, major);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, minor);
  return SDL_GL_CreateContext(window);
}

}  // namespace

std::unique_ptr<SdlGlPlatform> SdlGlPlatform::open() {
  // Reference-counted by SDL: harmless when the host started video already.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  return std::unique_ptr<SdlGlPlatform>(new SdlGlPlatform());
}

SdlGlPlatform::~SdlGlPlatform() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

bool SdlGlPlatform::displayMode(D3DDISPLAYMODE& mode) {
  SDL_DisplayMode m{};
  if (SDL_GetDesktopDisplayMode(0, &m) != 0) return false;
  mode = modeOf(m);
  return true;
}

uint32_t SdlGlPlatform::modeCount() {
  const int count = SDL_GetNumDisplayModes(0);
  return count > 0 ? static_cast<uint32_t>(count) : 0;
}

bool SdlGlPlatform::mode(uint32_t index, D3DDISPLAYMODE& mode) {
  SDL_DisplayMode m{};
  if (index >= modeCount() || SDL_GetDisplayMode(0, static_cast<int>(index), &m) != 0) return false;
  mode = modeOf(m);
  return true;
}

std::unique_ptr<GlContext> SdlGlPlatform::createContext(WindowHandle window, bool forceSoftware) {
  auto* sdlWindow = static_cast<SDL_Window*>(window);
  if (!sdlWindow || !(SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_OPENGL)) return nullptr;
  // Only a hint to the driver: whether a software visual exists is up to the system.
  SDL_GL_SetAttribute(SDL_GL_ACCELERATED_VISUAL, forceSoftware ? 0 : 1);
  GlApi api = GlApi::OpenGL33;
  SDL_GLContext context = createWith(sdlWindow, SDL_GL_CONTEXT_PROFILE_CORE, 3, 3);
  if (!context) {
    api = GlApi::Gles30;
    context = createWith(sdlWindow, SDL_GL_CONTEXT_PROFILE_ES, 3, 0);
  }
  if (!context) return nullptr;
  auto result = std::make_unique<SdlGlContext>(sdlWindow, context, api);
  if (!result->makeCurrent()) return nullptr;
  return result;
}

Direct3D* sdlDirect3DCreate(void* /*context*/, uint32_t sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION_8) return nullptr;
  std::unique_ptr<SdlGlPlatform> platform = SdlGlPlatform::open();
  if (!platform) return nullptr;
  return new GlDirect3D(std::move(platform));
}

}  // namespace demo
