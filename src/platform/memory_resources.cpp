#include "platform/memory_resources.h"

#include <cstring>

namespace demo {

uint32_t bytesPerPixel(D3DFORMAT format) {
  switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_X1R5G5B5: return 2;
    default: return 0;
  }
}

uint32_t primitiveVertexCount(D3DPRIMITIVETYPE type, uint32_t primitiveCount) {
  switch (type) {
    case D3DPT_POINTLIST: return primitiveCount;
    case D3DPT_LINELIST: return primitiveCount * 2;
    case D3DPT_LINESTRIP: return primitiveCount + 1;
    case D3DPT_TRIANGLELIST: return primitiveCount * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitiveCount + 2;
  }
  return 0;
}

MemoryTexture* MemoryTexture::create(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                     D3DFORMAT format, D3DPOOL pool) {
  // 16384 is the largest side any device of the era offered; it also bounds the allocation.
  if (width == 0 || height == 0 || width > 16384 || height > 16384 || bytesPerPixel(format) == 0) return nullptr;
  return new MemoryTexture(width, height, levels, usage, format, pool);
}

MemoryTexture::MemoryTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                             D3DPOOL pool)
    : usage_(usage), format_(format), pool_(pool) {
  const uint32_t bpp = bytesPerPixel(format);
  for (uint32_t w = width, h = height;;) {
    Level level{w, h, w * bpp, std::vector<uint8_t>(static_cast<size_t>(w) * bpp * h)};
    levels_.push_back(std::move(level));
    if ((levels != 0 && levels_.size() == levels) || (w == 1 && h == 1)) break;
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
}

HResult MemoryTexture::GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) {
  if (level >= levels_.size() || !desc) return D3DERR_INVALIDCALL;
  const Level& l = levels_[level];
  *desc = D3DSURFACE_DESC{format_, D3DRTYPE_SURFACE, usage_, pool_, static_cast<uint32_t>(l.bits.size()), 0,
                          l.width, l.height};
  return D3D_OK;
}

HResult MemoryTexture::LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) {
  // Default-pool textures live on the device only: Direct3D refuses to lock them.
  if (level >= levels_.size() || !locked || pool_ == D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  Level& l = levels_[level];
  if (l.locked) return D3DERR_INVALIDCALL;
  size_t offset = 0;
  if (rect) {
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        static_cast<uint32_t>(rect->right) > l.width || static_cast<uint32_t>(rect->bottom) > l.height)
      return D3DERR_INVALIDCALL;
    offset = static_cast<size_t>(rect->top) * l.pitch + static_cast<size_t>(rect->left) * bytesPerPixel(format_);
  }
  l.locked = true;
  l.readOnly = (flags & D3DLOCK_READONLY) != 0;
  locked->Pitch = static_cast<int32_t>(l.pitch);
  locked->pBits = l.bits.data() + offset;
  return D3D_OK;
}

HResult MemoryTexture::UnlockRect(uint32_t level) {
  if (level >= levels_.size() || !levels_[level].locked) return D3DERR_INVALIDCALL;
  Level& l = levels_[level];
  l.locked = false;
  if (!l.readOnly) ++revision_;
  onChange(level, l.readOnly);
  return D3D_OK;
}

HResult MemoryTexture::copyFrom(const MemoryTexture& source) {
  if (source.format_ != format_ || source.levels_.size() != levels_.size()) return D3DERR_INVALIDCALL;
  for (size_t i = 0; i < levels_.size(); ++i)
    if (source.levels_[i].width != levels_[i].width || source.levels_[i].height != levels_[i].height)
      return D3DERR_INVALIDCALL;
  for (size_t i = 0; i < levels_.size(); ++i) levels_[i].bits = source.levels_[i].bits;
  ++revision_;
  for (uint32_t i = 0; i < levels_.size(); ++i) onChange(i, false);
  return D3D_OK;
}

HResult MemoryBuffer::lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) {
  if (!data || locked_) return D3DERR_INVALIDCALL;
  if (size == 0) size = offset <= bytes_.size() ? static_cast<uint32_t>(bytes_.size()) - offset : 0;
  if (static_cast<uint64_t>(offset) + size > bytes_.size()) return D3DERR_INVALIDCALL;
  locked_ = true;
  readOnly_ = (flags & D3DLOCK_READONLY) != 0;
  *data = bytes_.data() + offset;
  return D3D_OK;
}

HResult MemoryBuffer::unlock() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  if (!readOnly_) ++revision_;
  return D3D_OK;
}

MemoryVertexBuffer* MemoryVertexBuffer::create(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool) {
  if (length == 0) return nullptr;
  return new MemoryVertexBuffer(length, usage, fvf, pool);
}

HResult MemoryVertexBuffer::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) {
  return buffer_.lock(offset, size, data, flags);
}

HResult MemoryVertexBuffer::Unlock() {
  const HResult result = buffer_.unlock();
  if (result == D3D_OK) onChange();
  return result;
}

HResult MemoryVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, usage_, pool_, buffer_.length(), fvf_};
  return D3D_OK;
}

MemoryIndexBuffer* MemoryIndexBuffer::create(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool) {
  if (length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return nullptr;
  return new MemoryIndexBuffer(length, usage, format, pool);
}

HResult MemoryIndexBuffer::Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) {
  return buffer_.lock(offset, size, data, flags);
}

HResult MemoryIndexBuffer::Unlock() {
  const HResult result = buffer_.unlock();
  if (result == D3D_OK) onChange();
  return result;
}

HResult MemoryIndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = D3DINDEXBUFFER_DESC{format_, D3DRTYPE_INDEXBUFFER, usage_, pool_, buffer_.length()};
  return D3D_OK;
}

}  // namespace demo
