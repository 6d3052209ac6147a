#pragma once
// A texture of the OpenGL device: the CPU copy Direct3D's managed and system-memory pools keep
// (MemoryTexture), uploaded to an OpenGL texture whenever it changed since the last draw that used
// it. Default-pool textures cannot be locked; UpdateTexture fills them.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/memory_resources.h"

namespace demo {

class GlContext;

// What a device's resources share with it: the context they were made in, cleared when the device
// goes away (its context takes their OpenGL objects along).
struct GlResourceHome {
  GlContext* context = nullptr;
};

// For a context that takes no texture swizzles: a level's texels rearranged on the CPU into what the
// swizzles would have made of them, so that the upload needs none. A8R8G8B8 and X8R8G8B8 become red,
// green, blue, alpha bytes (X8's alpha 255), A4R4G4B4 words R4G4B4A4. False, and `out` untouched,
// for R5G6B5, which needs nothing (an RGB texture's alpha reads as one anyway).
bool reorderTexels(D3DFORMAT format, const uint8_t* bits, size_t texels, std::vector<uint8_t>& out);

class GlTexture final : public MemoryTexture {
 public:
  // Null for sizes or formats the device does not offer: A8R8G8B8, X8R8G8B8, R5G6B5, A4R4G4B4.
  static GlTexture* create(std::shared_ptr<GlResourceHome> home, bool gles, uint32_t width, uint32_t height,
                           uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool);
  static bool supported(D3DFORMAT format);

  // Binds to the current texture unit, uploading first when the CPU copy changed.
  void bind();
  const GlResourceHome* home() const { return home_.get(); }

 private:
  GlTexture(std::shared_ptr<GlResourceHome> home, bool gles, uint32_t width, uint32_t height, uint32_t levels,
            uint32_t usage, D3DFORMAT format, D3DPOOL pool);
  ~GlTexture() override;
  void upload();
  // Level's texels as OpenGL is given them: the CPU copy itself, or where the context takes no
  // swizzles, a reordered copy (valid until the next call).
  const void* texels(uint32_t level);

  std::shared_ptr<GlResourceHome> home_;
  bool gles_;
  uint32_t name_ = 0;
  uint64_t uploaded_ = ~uint64_t{0};
  bool swizzled_ = true;
  std::vector<uint8_t> reordered_;
};

}  // namespace demo
