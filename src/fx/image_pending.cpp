// Placeholder until image drawing and blur land: no image can be made, so the image commands act on
// nothing; an image built by hand (tests) keeps its fields but draws nothing.
#include "fx/image.h"

namespace demo {

Image::~Image() {
  if (ownTexture) ownTexture->Release();
}

bool Image::initImage(DeviceLayer&, Texture*, uint8_t, float, float, float, float) { return false; }

int Image::draw(DeviceLayer&) { return 1; }

int setBlurLevel(Image& image, int32_t level) {
  image.blurLevel = level;
  return 1;
}

}  // namespace demo
