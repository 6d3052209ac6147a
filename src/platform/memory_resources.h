#pragma once
// Device resources kept in CPU memory: the textures, vertex buffers and index buffers of the
// recording device, and the CPU side of every OpenGL resource (Direct3D's managed and
// system-memory pools keep such a copy too). Backends derive from them and hook onUnlock to upload.

#include <cstdint>
#include <vector>

#include "platform/render_device.h"

namespace demo {

// Direct3D-style reference counting: created with one reference, deleted by the last Release.
template <class Interface>
class RefCounted : public Interface {
 public:
  uint32_t AddRef() override { return ++references_; }
  uint32_t Release() override {
    const uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }
  uint32_t references() const { return references_; }

 protected:
  RefCounted() = default;
  ~RefCounted() override = default;

 private:
  uint32_t references_ = 1;
};

// Bytes per pixel of a texture format, 0 for formats textures do not use here.
uint32_t bytesPerPixel(D3DFORMAT format);

class MemoryTexture : public RefCounted<Texture> {
 public:
  // Null for a zero size or a format other than A8R8G8B8, X8R8G8B8, R5G6B5, A4R4G4B4, A1R5G5B5,
  // X1R5G5B5. levels 0 means the whole chain down to 1 x 1.
  static MemoryTexture* create(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                               D3DPOOL pool);

  uint32_t GetLevelCount() override { return static_cast<uint32_t>(levels_.size()); }
  HResult GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) override;
  HResult LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) override;
  HResult UnlockRect(uint32_t level) override;

  D3DFORMAT format() const { return format_; }
  D3DPOOL pool() const { return pool_; }
  uint32_t usage() const { return usage_; }
  uint32_t width(uint32_t level = 0) const { return levels_[level].width; }
  uint32_t height(uint32_t level = 0) const { return levels_[level].height; }
  uint32_t pitch(uint32_t level = 0) const { return levels_[level].pitch; }
  uint8_t* bits(uint32_t level = 0) { return levels_[level].bits.data(); }
  const uint8_t* bits(uint32_t level = 0) const { return levels_[level].bits.data(); }
  bool isLocked(uint32_t level = 0) const { return levels_[level].locked; }
  // Counts changes of the contents (unlocks after writable locks, copies), so a backend can tell
  // whether its uploaded copy is stale.
  uint64_t revision() const { return revision_; }

  // UpdateTexture's copy: same format and level structure required (D3DERR_INVALIDCALL otherwise).
  HResult copyFrom(const MemoryTexture& source);

 protected:
  MemoryTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format, D3DPOOL pool);
  // Called after a level was unlocked (readOnly: the lock promised not to write) or copied into.
  virtual void onChange(uint32_t /*level*/, bool /*readOnly*/) {}

 private:
  struct Level {
    uint32_t width, height, pitch;
    std::vector<uint8_t> bits;
    bool locked = false;
    bool readOnly = false;
  };
  std::vector<Level> levels_;
  uint32_t usage_;
  D3DFORMAT format_;
  D3DPOOL pool_;
  uint64_t revision_ = 0;
};

// Shared by vertex and index buffers: a byte array with Direct3D's lock rules.
class MemoryBuffer {
 public:
  explicit MemoryBuffer(uint32_t length) : bytes_(length) {}
  HResult lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags);
  HResult unlock();
  uint32_t length() const { return static_cast<uint32_t>(bytes_.size()); }
  const uint8_t* bytes() const { return bytes_.data(); }
  bool isLocked() const { return locked_; }
  uint64_t revision() const { return revision_; }

 private:
  std::vector<uint8_t> bytes_;
  bool locked_ = false;
  bool readOnly_ = false;
  uint64_t revision_ = 0;
};

class MemoryVertexBuffer : public RefCounted<VertexBuffer> {
 public:
  static MemoryVertexBuffer* create(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool);
  HResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override;
  HResult Unlock() override;
  HResult GetDesc(D3DVERTEXBUFFER_DESC* desc) override;
  const MemoryBuffer& buffer() const { return buffer_; }
  uint32_t fvf() const { return fvf_; }

 protected:
  MemoryVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool)
      : buffer_(length), usage_(usage), fvf_(fvf), pool_(pool) {}
  virtual void onChange() {}

 private:
  MemoryBuffer buffer_;
  uint32_t usage_;
  uint32_t fvf_;
  D3DPOOL pool_;
};

class MemoryIndexBuffer : public RefCounted<IndexBuffer> {
 public:
  // Null unless the format is D3DFMT_INDEX16 or D3DFMT_INDEX32.
  static MemoryIndexBuffer* create(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool);
  HResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override;
  HResult Unlock() override;
  HResult GetDesc(D3DINDEXBUFFER_DESC* desc) override;
  const MemoryBuffer& buffer() const { return buffer_; }
  D3DFORMAT format() const { return format_; }

 protected:
  MemoryIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool)
      : buffer_(length), usage_(usage), format_(format), pool_(pool) {}
  virtual void onChange() {}

 private:
  MemoryBuffer buffer_;
  uint32_t usage_;
  D3DFORMAT format_;
  D3DPOOL pool_;
};

// Vertices a draw call reads: list 3n, strip and fan n + 2, lines 2n and n + 1, points n.
uint32_t primitiveVertexCount(D3DPRIMITIVETYPE type, uint32_t primitiveCount);

}  // namespace demo
