#include "platform/web/web_graphics.h"

#include <emscripten/html5.h>

#include "platform/gl/gl_direct3d.h"

namespace demo {

namespace {

class WebGlContext final : public GlContext {
 public:
  WebGlContext(EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context, std::string canvas)
      : context_(context), canvas_(std::move(canvas)) {}
  ~WebGlContext() override { emscripten_webgl_destroy_context(context_); }

  bool makeCurrent() override {
    if (emscripten_webgl_get_current_context() == context_) return true;
    return emscripten_webgl_make_context_current(context_) == EMSCRIPTEN_RESULT_SUCCESS;
  }
  GlApi api() const override { return GlApi::Gles30; }
  void windowSize(int& width, int& height) override {
    if (emscripten_get_canvas_element_size(canvas_.c_str(), &width, &height) != EMSCRIPTEN_RESULT_SUCCESS)
      width = height = 0;
  }
  // The browser shows what was drawn once the frame callback returns.
  void swapBuffers() override {}
  bool textureSwizzle() const override { return false; }

 private:
  EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context_;
  std::string canvas_;
};

class WebGlPlatform final : public GlPlatform {
 public:
  explicit WebGlPlatform(const WebGraphicsConfig& config) : config_(config) {}

  bool displayMode(D3DDISPLAYMODE& mode) override {
    mode = {config_.width, config_.height, 60, D3DFMT_X8R8G8B8};
    return true;
  }
  uint32_t modeCount() override { return 2; }
  bool mode(uint32_t index, D3DDISPLAYMODE& mode) override {
    if (index >= modeCount()) return false;
    mode = {config_.width, config_.height, 60, index == 0 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8};
    return true;
  }

  // The canvas named by the config, whatever window is passed: the page has one. A software
  // rasteriser cannot be asked for; the browser picks what draws.
  std::unique_ptr<GlContext> createContext(WindowHandle /*window*/, bool /*forceSoftware*/) override {
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    // The device draws into a back buffer of its own and copies it to the canvas at Present: the
    // canvas needs no depth, and no multisampling, which would forbid that copy.
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.premultipliedAlpha = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
        emscripten_webgl_create_context(config_.canvas.c_str(), &attributes);
    if (context <= 0) return nullptr;
    auto result = std::make_unique<WebGlContext>(context, config_.canvas);
    if (!result->makeCurrent()) return nullptr;
    return result;
  }

 private:
  WebGraphicsConfig config_;
};

}  // namespace

Direct3D* webDirect3DCreate(void* context, uint32_t sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION_8) return nullptr;
  WebGraphicsConfig config;
  if (context) config = *static_cast<const WebGraphicsConfig*>(context);
  return new GlDirect3D(std::make_unique<WebGlPlatform>(config));
}

}  // namespace demo
