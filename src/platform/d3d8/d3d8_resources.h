#pragma once
// Our texture and buffer interfaces over Direct3D 8's objects. Each wrapper holds one reference to
// its native object and hands it to the device when bound.

#include "platform/d3d8/d3d8_native.h"
#include "platform/memory_resources.h"

namespace demo {

class D3d8Texture final : public RefCounted<Texture> {
 public:
  // Takes over the caller's reference to the native texture.
  explicit D3d8Texture(IDirect3DTexture8* native) : native_(native) {}
  IDirect3DTexture8* native() const { return native_; }

  uint32_t GetLevelCount() override { return native_->GetLevelCount(); }
  HResult GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) override;
  HResult LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) override;
  HResult UnlockRect(uint32_t level) override { return native_->UnlockRect(level); }

 private:
  ~D3d8Texture() override { native_->Release(); }
  IDirect3DTexture8* native_;
};

class D3d8VertexBuffer final : public RefCounted<VertexBuffer> {
 public:
  explicit D3d8VertexBuffer(IDirect3DVertexBuffer8* native) : native_(native) {}
  IDirect3DVertexBuffer8* native() const { return native_; }

  HResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override {
    return native_->Lock(offset, size, data, flags);
  }
  HResult Unlock() override { return native_->Unlock(); }
  HResult GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

 private:
  ~D3d8VertexBuffer() override { native_->Release(); }
  IDirect3DVertexBuffer8* native_;
};

class D3d8IndexBuffer final : public RefCounted<IndexBuffer> {
 public:
  explicit D3d8IndexBuffer(IDirect3DIndexBuffer8* native) : native_(native) {}
  IDirect3DIndexBuffer8* native() const { return native_; }

  HResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) override {
    return native_->Lock(offset, size, data, flags);
  }
  HResult Unlock() override { return native_->Unlock(); }
  HResult GetDesc(D3DINDEXBUFFER_DESC* desc) override;

 private:
  ~D3d8IndexBuffer() override { native_->Release(); }
  IDirect3DIndexBuffer8* native_;
};

}  // namespace demo
