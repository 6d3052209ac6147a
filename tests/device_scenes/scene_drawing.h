#pragma once
// What the scenes draw with: clears, screen-aligned quads in pixel coordinates and textures filled
// from 32-bit texel values.

#include <cstdint>
#include <vector>

#include "device_scene.h"

namespace demo::scenes {

void clear(RenderDevice& device, D3DCOLOR color);
// Lighting and culling off: vertex colours as given, both windings drawn.
void flat(RenderDevice& device);
// With world, view and projection at identity, positions are clip coordinates. The quad covers pixel
// columns x0..x1-1 and rows y0..y1-1 (rows counted from the top), drawn as a two-triangle strip.
void drawQuad(RenderDevice& device, int x0, int y0, int x1, int y1, D3DCOLOR color, float z = 0.5f, float u0 = 0,
              float v0 = 0, float u1 = 1, float v1 = 1);
float clipX(float pixelX);
float clipY(float pixelY);
// A one-level texture; texels hold the format's pixel values (16-bit formats in the low half).
Texture* makeTexture(RenderDevice& device, uint32_t width, uint32_t height, D3DFORMAT format,
                     const std::vector<uint32_t>& texels, D3DPOOL pool = D3DPOOL_MANAGED);

}  // namespace demo::scenes
