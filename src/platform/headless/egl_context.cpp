#include "platform/headless/egl_context.h"

#include <cstring>

#include <epoxy/egl.h>

namespace demo {

namespace {

bool hasExtension(const char* list, const char* name) {
  if (!list) return false;
  const size_t length = std::strlen(name);
  for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += length)
    if ((p == list || p[-1] == ' ') && (p[length] == ' ' || p[length] == '\0')) return true;
  return false;
}

EGLDisplay initialised(EGLDisplay display) {
  if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) return display;
  return EGL_NO_DISPLAY;
}

const char* clientExtensions() { return eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS); }

// The EXT entry point rather than EGL 1.5's: libepoxy resolves it from the client extensions,
// while it cannot tell the EGL version before a display exists.

EGLDisplay surfacelessDisplay() {
  const char* client = clientExtensions();
  if (!hasExtension(client, "EGL_EXT_platform_base") || !hasExtension(client, "EGL_MESA_platform_surfaceless"))
    return EGL_NO_DISPLAY;
  return initialised(eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
}

// The first device that initialises; with softwareOnly, only Mesa's software device.
EGLDisplay deviceDisplay(bool softwareOnly) {
  const char* client = clientExtensions();
  if (!hasExtension(client, "EGL_EXT_platform_base") || !hasExtension(client, "EGL_EXT_platform_device") ||
      !hasExtension(client, "EGL_EXT_device_enumeration"))
    return EGL_NO_DISPLAY;
  EGLDeviceEXT devices[16];
  EGLint count = 0;
  if (!eglQueryDevicesEXT(16, devices, &count)) return EGL_NO_DISPLAY;
  for (EGLint i = 0; i < count; ++i) {
    if (softwareOnly && !hasExtension(eglQueryDeviceStringEXT(devices[i], EGL_EXTENSIONS), "EGL_MESA_device_software"))
      continue;
    const EGLDisplay display = initialised(eglGetPlatformDisplayEXT(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr));
    if (display != EGL_NO_DISPLAY) return display;
  }
  return EGL_NO_DISPLAY;
}

class EglContext final : public GlContext {
 public:
  EglContext(EGLDisplay display, EGLContext context, bool gles) : display_(display), context_(context), gles_(gles) {}
  ~EglContext() override {
    bindApi();
    if (eglGetCurrentContext() == context_) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display_, context_);
  }
  bool makeCurrent() override {
    bindApi();
    if (eglGetCurrentContext() == context_) return true;
    return eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_TRUE;
  }
  GlApi api() const override { return gles_ ? GlApi::Gles30 : GlApi::OpenGL33; }
  void windowSize(int& width, int& height) override { width = height = 0; }
  void swapBuffers() override {}

 private:
  // EGL keeps a current context per client API; the API must be chosen before asking.
  void bindApi() { eglBindAPI(gles_ ? EGL_OPENGL_ES_API : EGL_OPENGL_API); }

  EGLDisplay display_;
  EGLContext context_;
  bool gles_;
};

}  // namespace

std::unique_ptr<EglPlatform> EglPlatform::open(uint32_t width, uint32_t height, bool gles) {
  EGLDisplay display = surfacelessDisplay();
  if (display == EGL_NO_DISPLAY) display = deviceDisplay(false);
  if (display == EGL_NO_DISPLAY) return nullptr;
  return std::unique_ptr<EglPlatform>(new EglPlatform(display, width, height, gles));
}

// The displays stay initialised until the process ends. An EGL display is one per platform and
// process, shared by every headless Direct3D object: terminating it for one would destroy the
// contexts of any other. (Terminating also makes Mesa unload its driver, whose allocations leak
// checkers then report from an unknown module.) A later open finds it initialised already.
EglPlatform::~EglPlatform() = default;

bool EglPlatform::displayMode(D3DDISPLAYMODE& mode) {
  mode = {width_, height_, 60, D3DFMT_X8R8G8B8};
  return true;
}

bool EglPlatform::mode(uint32_t index, D3DDISPLAYMODE& mode) {
  if (index >= modeCount()) return false;
  mode = {width_, height_, 60, index == 0 ? D3DFMT_R5G6B5 : D3DFMT_X8R8G8B8};
  return true;
}

std::unique_ptr<GlContext> EglPlatform::createContext(WindowHandle /*window*/, bool forceSoftware) {
  EGLDisplay display = display_;
  if (forceSoftware) {
    if (!softwareDisplay_) softwareDisplay_ = deviceDisplay(true);
    display = softwareDisplay_;
    if (display == EGL_NO_DISPLAY) return nullptr;
  }
  if (!eglBindAPI(gles_ ? EGL_OPENGL_ES_API : EGL_OPENGL_API)) return nullptr;
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE,
                                     gles_ ? EGL_OPENGL_ES3_BIT : EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglChooseConfig(display, configAttributes, &config, 1, &configs) || configs < 1) return nullptr;
  const EGLint glAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  const EGLint esAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0, EGL_NONE};
  const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, gles_ ? esAttributes : glAttributes);
  if (context == EGL_NO_CONTEXT) return nullptr;
  auto result = std::make_unique<EglContext>(display, context, gles_);
  if (!result->makeCurrent()) return nullptr;
  return result;
}

}  // namespace demo
