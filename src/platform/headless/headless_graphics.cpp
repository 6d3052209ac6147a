#include "platform/headless/headless_graphics.h"

#include "platform/gl/gl_direct3d.h"
#include "platform/headless/egl_context.h"

namespace demo {

Direct3D* headlessDirect3DCreate(void* context, uint32_t sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION_8) return nullptr;
  HeadlessGraphicsConfig config;
  if (context) config = *static_cast<const HeadlessGraphicsConfig*>(context);
  if (config.width == 0) config.width = 640;
  if (config.height == 0) config.height = 480;
  std::unique_ptr<EglPlatform> platform = EglPlatform::open(config.width, config.height, config.gles);
  if (!platform) return nullptr;
  return new GlDirect3D(std::move(platform));
}

}  // namespace demo
