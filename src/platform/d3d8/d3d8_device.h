#pragma once
// The RenderDevice on a native Direct3D 8 device: every call is passed on, values converted at the
// boundary. Like Direct3D itself, the device holds a reference to whatever is bound to it (our
// wrappers, which in turn hold the native objects), so a texture released while bound stays valid.

#include <cstdint>
#include <vector>

#include "platform/d3d8/d3d8_native.h"
#include "platform/d3d8/d3d8_resources.h"
#include "platform/memory_resources.h"

namespace demo {

class D3d8Device final : public RefCounted<RenderDevice> {
 public:
  // Takes over the reference to the native device; AddRefs owner (the Direct3D object) for its life.
  D3d8Device(IDirect3DDevice8* native, Direct3D* owner);

  // The back buffer as 8-bit RGBA, top row first, read through a lockable system-memory copy.
  bool readPixels(std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height);

  HResult Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                uint32_t stencil) override;
  HResult BeginScene() override { return native_->BeginScene(); }
  HResult EndScene() override { return native_->EndScene(); }
  HResult Present() override { return native_->Present(nullptr, nullptr, nullptr, nullptr); }
  HResult SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override;
  HResult SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) override;
  HResult SetTexture(uint32_t stage, Texture* texture) override;
  HResult SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HResult SetMaterial(const D3DMATERIAL8* material) override;
  HResult SetLight(uint32_t index, const D3DLIGHT8* light) override;
  HResult LightEnable(uint32_t index, bool enable) override { return native_->LightEnable(index, enable); }
  HResult SetVertexShader(uint32_t fvf) override { return native_->SetVertexShader(fvf); }
  HResult DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertexData,
                          uint32_t vertexStride) override;
  HResult DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex, uint32_t numVertices,
                                 uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                 const void* vertexData, uint32_t vertexStride) override;
  HResult SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) override;
  HResult SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) override;
  HResult DrawIndexedPrimitive(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t numVertices, uint32_t startIndex,
                               uint32_t primitiveCount) override;
  HResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                        D3DPOOL pool, Texture** texture) override;
  HResult UpdateTexture(Texture* source, Texture* destination) override;
  HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                             VertexBuffer** buffer) override;
  HResult CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                            IndexBuffer** buffer) override;

 private:
  static constexpr uint32_t Stages = 8;  // Direct3D 8's texture stages
  ~D3d8Device() override;

  IDirect3DDevice8* native_;
  Direct3D* owner_;
  D3d8Texture* textures_[Stages] = {};
  D3d8VertexBuffer* stream_ = nullptr;
  D3d8IndexBuffer* indices_ = nullptr;
};

}  // namespace demo
