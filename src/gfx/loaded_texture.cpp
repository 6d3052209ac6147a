#include "gfx/loaded_texture.h"

#include "archive/read_status.h"
#include "gfx/level_lock.h"
#include "gfx/pixel_convert.h"
#include "gfx/tga_image.h"

namespace demo {

namespace {

// Holds one reference and releases it unless handed on.
class TextureRef {
 public:
  explicit TextureRef(Texture* texture = nullptr) : texture_(texture) {}
  ~TextureRef() {
    if (texture_) texture_->Release();
  }
  TextureRef(const TextureRef&) = delete;
  TextureRef& operator=(const TextureRef&) = delete;
  Texture* get() const { return texture_; }
  Texture** out() { return &texture_; }
  Texture* release() {
    Texture* t = texture_;
    texture_ = nullptr;
    return t;
  }
  explicit operator bool() const { return texture_ != nullptr; }

 private:
  Texture* texture_;
};

Texture* createTexture(RenderDevice& device, uint32_t width, uint32_t height, D3DFORMAT format, D3DPOOL pool) {
  Texture* texture = nullptr;
  if (device.CreateTexture(width, height, 1, 0, format, pool, &texture) != D3D_OK) return nullptr;
  return texture;
}

// The opacity map's brightness as a 4-bit alpha: green is weighted at its 6-bit scale.
uint16_t opacityAlpha(uint16_t rgb565) {
  const uint32_t r = rgb565 >> 11, g = (rgb565 >> 5) & 63, b = rgb565 & 31;
  return static_cast<uint16_t>((32 * r + 16 * g + 32 * b) / 192);
}

uint16_t load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
void store16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

bool applyOpacity(Texture* colour, Texture* opacity, uint32_t width, uint32_t height) {
  LevelLock from(opacity, D3DLOCK_READONLY);
  LevelLock to(colour, 0);
  if (!from.bits() || !to.bits()) return false;
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* in = from.bits() + static_cast<std::ptrdiff_t>(y) * from.pitch();
    uint8_t* out = to.bits() + static_cast<std::ptrdiff_t>(y) * to.pitch();
    for (uint32_t x = 0; x < width; ++x) {
      const uint16_t alpha = opacityAlpha(load16(in + x * 2));
      store16(out + x * 2, static_cast<uint16_t>(alpha << 12 | (load16(out + x * 2) & 0x0FFF)));
    }
  }
  return true;
}

}  // namespace

Texture* loadImageTexture(DeviceLayer& layer, const char* fileName, uint32_t width, uint32_t height,
                          std::string* why) {
  const auto fail = [why](std::string text) -> Texture* {
    if (why) *why = std::move(text);
    return nullptr;
  };
  RenderDevice* device = layer.device();
  if (!device) return fail("no graphics device");
  TgaImage image;
  TgaProblem problem = TgaProblem::None;
  if (const int status = decodeImageFile(image, fileName, &problem); status != 0)
    return fail(problem == TgaProblem::OpenFailed ? readStatusText(status) : describeTgaProblem(problem));
  TextureRef texture(createTexture(*device, width, height, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM));
  if (!texture)
    return fail("the device cannot make a " + std::to_string(width) + " x " + std::to_string(height) + " texture");
  {
    LevelLock lock(texture.get(), 0);
    if (!lock.bits()) return fail("the device cannot lock the new texture");
    resample(lock.bits(), lock.pitch(), width, height, image.pixels.get(), image.width * 4, image.width, image.height);
  }
  return texture.release();
}

Texture* loadTexture16(DeviceLayer& layer, const char* fileName, uint32_t width, uint32_t height, bool alpha,
                       bool preferVideoMemory) {
  const bool videoCopy = preferVideoMemory && !layer.referenceDevice();
  TextureRef source(loadImageTexture(layer, fileName, width, height));
  if (!source) return nullptr;
  RenderDevice& device = *layer.device();
  const D3DFORMAT format = alpha ? D3DFMT_A4R4G4B4 : D3DFMT_R5G6B5;
  TextureRef system(createTexture(device, width, height, format, D3DPOOL_SYSTEMMEM));
  if (!system) return nullptr;
  TextureRef video;
  if (videoCopy) {
    *video.out() = createTexture(device, width, height, format, D3DPOOL_DEFAULT);
    if (!video) return nullptr;
  }
  {
    LevelLock to(system.get(), 0);
    LevelLock from(source.get(), D3DLOCK_READONLY);
    if (!to.bits() || !from.bits()) return nullptr;
    (alpha ? convertTo4444 : convertTo565)(to.bits(), to.pitch(), from.bits(), from.pitch(), width, height);
  }
  if (!videoCopy) return system.release();
  if (device.UpdateTexture(system.get(), video.get()) != D3D_OK) return nullptr;
  return video.release();
}

Texture* loadTextureWithOpacity(DeviceLayer& layer, const char* fileName, uint32_t width, uint32_t height,
                                const char* opacityFileName) {
  TextureRef colour(loadTexture16(layer, fileName, width, height, true, false));
  if (!colour) return nullptr;
  {
    TextureRef opacity(loadTexture16(layer, opacityFileName, width, height, false, false));
    if (!opacity) return nullptr;
    if (!applyOpacity(colour.get(), opacity.get(), width, height)) return nullptr;
  }
  if (layer.referenceDevice()) return colour.release();
  TextureRef video(createTexture(*layer.device(), width, height, D3DFMT_A4R4G4B4, D3DPOOL_DEFAULT));
  if (!video) return nullptr;
  if (layer.device()->UpdateTexture(colour.get(), video.get()) != D3D_OK) return nullptr;
  return video.release();
}

}  // namespace demo
