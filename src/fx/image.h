#pragma once
// A named 2D layer: a rectangle of a loaded texture drawn as a screen-aligned quad, placed and sized
// in fractions of the screen, tinted by an ARGB colour. Each image draws its own 16-bit copy of
// the texture, rebuilt from the 32-bit source whenever the blur level changes, so blurring never
// accumulates.
// The timeline's image commands (makeimage, showimage, moveimage, sizeimage, fadeimage, blurimage,
// spackblurimage, freeimage) work on these fields directly.

#include <cstdint>

#include "gfx/device_layer.h"

namespace demo {

class Image {
 public:
  Image() = default;
  virtual ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // Stores the rectangle and the source, resets position, size, colour and blur level, and makes
  // the own 16-bit copy at blur level 0. False when the source is null or not a 32-bit texture,
  // its description cannot be read or the copy cannot be created.
  bool initImage(DeviceLayer& layer, Texture* source, uint8_t alphaFlag, float u0, float v0, float u1, float v1);
  // Draws the quad with the blend states already set; 1.
  virtual int draw(DeviceLayer& layer);

  float x = 0.0f;       // left edge, fraction of the screen width
  float width = 1.0f;   // fraction of the screen width
  float y = 0.0f;       // top edge, fraction of the screen height, growing downwards
  float height = 1.0f;  // fraction of the screen height
  float texU0 = 0.0f, texV0 = 0.0f;  // top-left texture coordinates
  float texU1 = 1.0f, texV1 = 1.0f;  // bottom-right texture coordinates
  uint32_t textureWidth = 0;
  uint32_t textureHeight = 0;
  int32_t blurLevel = 0;              // the level ownTexture currently shows
  Texture* ownTexture = nullptr;      // owned 16-bit copy, D3DPOOL_MANAGED
  Texture* sourceTexture = nullptr;   // not owned; the LoadedTexture's 32-bit texture
  uint8_t alphaFlag = 0;              // draw with the texture's alpha
  uint32_t colour = 0xFFFFFFFFu;      // 0xAARRGGBB of all four corners

 protected:
  // What every image drawer shares around its draw calls: the world matrix from the position and
  // size, the image projection, the own texture, the 2D render states and the vertex format; then
  // the stacks popped again.
  void beginDraw(DeviceLayer& layer) const;
  static void endDraw(DeviceLayer& layer);
};

// Rebuilds the own texture at the given blur level when it differs from the current one: below 1
// the plain conversion, else the box blur of that radius. The new level is recorded even when the
// rebuild fails (a texture cannot be locked), so it is not tried again until it changes. Success flag.
int setBlurLevel(Image& image, int32_t level);

// Fills the own texture with the plain 16-bit conversion of the source (blur level 0). 0 when either
// texture cannot be locked (nothing is written then), else 1.
int convertImage(Image& image);

}  // namespace demo
