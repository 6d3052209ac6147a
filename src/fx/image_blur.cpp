#include "fx/blur_rows.h"
#include "fx/image.h"
#include "gfx/level_lock.h"
#include "gfx/pixel_convert.h"

namespace demo {

int convertImage(Image& image) {
  LevelLock own(image.ownTexture, 0);
  LevelLock source(image.sourceTexture, D3DLOCK_READONLY);
  // Without both locks there is nothing to write into or read from: the texture keeps what it had,
  // and the caller hears of it like a blur that could not lock.
  if (!own.bits() || !source.bits()) return 0;
  (image.alphaFlag ? convertTo4444 : convertTo565)(own.bits(), own.pitch(), source.bits(), source.pitch(),
                                                   image.textureWidth, image.textureHeight);
  return 1;
}

int setBlurLevel(Image& image, int32_t level) {
  if (level == image.blurLevel) return 1;
  image.blurLevel = level;
  if (level < 1) return convertImage(image);
  LevelLock own(image.ownTexture, 0);
  if (!own.bits()) return 0;
  LevelLock source(image.sourceTexture, D3DLOCK_READONLY);
  if (!source.bits()) return 0;
  blurRows(own.bits(), own.pitch(), source.bits(), source.pitch(), image.textureWidth, image.textureHeight, level,
           image.alphaFlag ? BlurLayout::A4R4G4B4 : BlurLayout::R5G6B5);
  return 1;
}

}  // namespace demo
