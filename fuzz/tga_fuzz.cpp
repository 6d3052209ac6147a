// One TGA file decoded as loadtexture reads it, then resampled into two texture sizes and
// converted to both 16-bit formats, as the texture loaders do with a decoded picture.

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "archive/reader.h"
#include "gfx/pixel_convert.h"
#include "gfx/tga_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1u << 22) return 0;
  demo::Reader reader;
  auto bytes = std::make_unique<uint8_t[]>(size);
  if (size) std::memcpy(bytes.get(), data, size);
  reader.assign(std::move(bytes), static_cast<uint32_t>(size));
  demo::TgaImage image;
  if (demo::decodeTga(image, reader) != 0) return 0;
  for (const auto& [w, h] : {std::pair{4u, 8u}, std::pair{32u, 32u}}) {
    std::vector<uint8_t> texture(w * h * 4), sixteen(w * h * 2);
    demo::resample(texture.data(), static_cast<int32_t>(w * 4), w, h, image.pixels.get(), image.width * 4,
                   image.width, image.height);
    demo::convertTo565(sixteen.data(), static_cast<int32_t>(w * 2), texture.data(), static_cast<int32_t>(w * 4), w, h);
    demo::convertTo4444(sixteen.data(), static_cast<int32_t>(w * 2), texture.data(), static_cast<int32_t>(w * 4), w,
                        h);
  }
  return 0;
}
