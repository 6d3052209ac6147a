#include "scene_drawing.h"

#include <cstring>

namespace demo::scenes {

void clear(RenderDevice& device, D3DCOLOR color) {
  device.Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, color, 1.0f, 0);
}

void flat(RenderDevice& device) {
  device.SetRenderState(D3DRS_LIGHTING, 0);
  device.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
}

float clipX(float pixelX) { return 2.0f * pixelX / Width - 1.0f; }
float clipY(float pixelY) { return 1.0f - 2.0f * pixelY / Height; }

void drawQuad(RenderDevice& device, int x0, int y0, int x1, int y1, D3DCOLOR color, float z, float u0, float v0,
              float u1, float v1) {
  const VertexColorTex quad[4] = {
      {clipX(float(x0)), clipY(float(y0)), z, color, u0, v0},
      {clipX(float(x1)), clipY(float(y0)), z, color, u1, v0},
      {clipX(float(x0)), clipY(float(y1)), z, color, u0, v1},
      {clipX(float(x1)), clipY(float(y1)), z, color, u1, v1},
  };
  device.SetVertexShader(FVF_XYZ_DIFFUSE_TEX1);
  device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(VertexColorTex));
}

Texture* makeTexture(RenderDevice& device, uint32_t width, uint32_t height, D3DFORMAT format,
                     const std::vector<uint32_t>& texels, D3DPOOL pool) {
  Texture* texture = nullptr;
  if (device.CreateTexture(width, height, 1, 0, format, pool, &texture) != D3D_OK) return nullptr;
  D3DLOCKED_RECT r{};
  if (texture->LockRect(0, &r, nullptr, 0) != D3D_OK) return texture;
  const uint32_t bytes = format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 ? 4 : 2;
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      std::memcpy(static_cast<uint8_t*>(r.pBits) + y * r.Pitch + x * bytes, &texels[y * width + x], bytes);
  texture->UnlockRect(0);
  return texture;
}

}  // namespace demo::scenes
