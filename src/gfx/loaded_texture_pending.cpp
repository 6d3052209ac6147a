// Placeholder until TGA decoding lands: every load fails, so loading commands act on nothing.
#include "gfx/loaded_texture.h"

namespace demo {

Texture* loadImageTexture(DeviceLayer&, const char*, uint32_t, uint32_t) { return nullptr; }
Texture* loadTexture16(DeviceLayer&, const char*, uint32_t, uint32_t, bool, bool) { return nullptr; }
Texture* loadTextureWithOpacity(DeviceLayer&, const char*, uint32_t, uint32_t, const char*) { return nullptr; }

}  // namespace demo
