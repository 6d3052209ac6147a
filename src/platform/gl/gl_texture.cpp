#include "platform/gl/gl_texture.h"

#include <cstring>
#include <vector>

#include <epoxy/gl.h>

#include "platform/gl/gl_context.h"

namespace demo {

namespace {

// Direct3D formats keep their bytes unchanged; texture swizzles put the channels where Direct3D
// has them. Both dialects share this: ES 3.0 has neither BGRA nor the _REV packed types.
struct Upload {
  GLint internalFormat;
  GLenum format, type;
  GLint swizzle[4];
};

Upload uploadFor(D3DFORMAT format, bool gles) {
  switch (format) {
    case D3DFMT_A8R8G8B8:  // bytes blue, green, red, alpha
      return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, {GL_BLUE, GL_GREEN, GL_RED, GL_ALPHA}};
    case D3DFMT_X8R8G8B8:
      return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, {GL_BLUE, GL_GREEN, GL_RED, GL_ONE}};
    case D3DFMT_R5G6B5:  // the same bit layout as GL's 5_6_5; sized RGB565 is ES-only before GL 4.1
      return {gles ? GL_RGB565 : GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}};
    default:  // A4R4G4B4 read as 4_4_4_4 puts alpha in "red", red in "green", and so on
      return {GL_RGBA4, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4, {GL_GREEN, GL_BLUE, GL_ALPHA, GL_RED}};
  }
}

}  // namespace

bool reorderTexels(D3DFORMAT format, const uint8_t* bits, size_t texels, std::vector<uint8_t>& out) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: {
      out.resize(texels * 4);
      const bool opaque = format == D3DFMT_X8R8G8B8;
      for (size_t i = 0; i < texels * 4; i += 4) {
        out[i] = bits[i + 2];
        out[i + 1] = bits[i + 1];
        out[i + 2] = bits[i];
        out[i + 3] = opaque ? 255 : bits[i + 3];
      }
      return true;
    }
    case D3DFMT_A4R4G4B4:
      out.resize(texels * 2);
      for (size_t i = 0; i < texels; ++i) {
        uint16_t argb;
        std::memcpy(&argb, bits + i * 2, 2);
        const auto rgba = static_cast<uint16_t>(argb << 4 | argb >> 12);
        std::memcpy(out.data() + i * 2, &rgba, 2);
      }
      return true;
    default:
      return false;
  }
}

bool GlTexture::supported(D3DFORMAT format) {
  return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5 ||
         format == D3DFMT_A4R4G4B4;
}

GlTexture* GlTexture::create(std::shared_ptr<GlResourceHome> home, bool gles, uint32_t width, uint32_t height,
                             uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool) {
  if (!supported(format) || width == 0 || height == 0 || width > 16384 || height > 16384) return nullptr;
  return new GlTexture(std::move(home), gles, width, height, levels, usage, format, pool);
}

GlTexture::GlTexture(std::shared_ptr<GlResourceHome> home, bool gles, uint32_t width, uint32_t height,
                     uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool)
    : MemoryTexture(width, height, levels, usage, format, pool), home_(std::move(home)), gles_(gles) {}

GlTexture::~GlTexture() {
  if (name_ && home_->context && home_->context->makeCurrent()) glDeleteTextures(1, &name_);
}

void GlTexture::bind() {
  if (!name_) {
    glGenTextures(1, &name_);
    glBindTexture(GL_TEXTURE_2D, name_);
    const Upload u = uploadFor(format(), gles_);
    swizzled_ = !home_->context || home_->context->textureSwizzle();
    if (swizzled_) {
      const GLenum swizzles[4] = {GL_TEXTURE_SWIZZLE_R, GL_TEXTURE_SWIZZLE_G, GL_TEXTURE_SWIZZLE_B,
                                  GL_TEXTURE_SWIZZLE_A};
      for (int i = 0; i < 4; ++i) glTexParameteri(GL_TEXTURE_2D, swizzles[i], u.swizzle[i]);  // ES lacks _RGBA
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(GetLevelCount() - 1));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (uint32_t level = 0; level < GetLevelCount(); ++level)
      glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), u.internalFormat, static_cast<GLsizei>(width(level)),
                   static_cast<GLsizei>(height(level)), 0, u.format, u.type, texels(level));
    uploaded_ = revision();
    return;
  }
  glBindTexture(GL_TEXTURE_2D, name_);
  if (uploaded_ != revision()) upload();
}

void GlTexture::upload() {
  const Upload u = uploadFor(format(), gles_);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (uint32_t level = 0; level < GetLevelCount(); ++level)
    glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, 0, static_cast<GLsizei>(width(level)),
                    static_cast<GLsizei>(height(level)), u.format, u.type, texels(level));
  uploaded_ = revision();
}

const void* GlTexture::texels(uint32_t level) {
  if (swizzled_ || !reorderTexels(format(), bits(level), size_t{width(level)} * height(level), reordered_))
    return bits(level);
  return reordered_.data();
}

}  // namespace demo
