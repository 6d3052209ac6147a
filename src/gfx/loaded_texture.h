#pragma once
// Textures made from TGA files: the 32-bit system-memory texture of `loadtexture`, and the 16-bit
// textures scene materials use.

#include <cstdint>
#include <string>

#include "gfx/device_layer.h"

namespace demo {

// The object of a texture registry entry.
struct LoadedTexture {
  Texture* texture = nullptr;  // 32-bit, D3DPOOL_SYSTEMMEM; released by freetexture
  uint8_t alphaFlag = 0;       // images made from it use its alpha channel
};

// Decodes the TGA file and resamples it into a new width x height A8R8G8B8 system-memory texture.
// Null when the file cannot be decoded or the texture not created; then `why`, when given, says
// which in the reader's or the decoder's words.
Texture* loadImageTexture(DeviceLayer& layer, const char* fileName, uint32_t width, uint32_t height,
                          std::string* why = nullptr);
// A 16-bit texture (A4R4G4B4 with alpha, else R5G6B5), in video memory when preferred and allowed.
Texture* loadTexture16(DeviceLayer& layer, const char* fileName, uint32_t width, uint32_t height, bool alpha,
                       bool preferVideoMemory);
// An A4R4G4B4 texture whose alpha comes from the brightness of a second picture.
Texture* loadTextureWithOpacity(DeviceLayer& layer, const char* fileName, uint32_t width, uint32_t height,
                                const char* opacityFileName);

}  // namespace demo
