#include "platform/d3d8/d3d8_device.h"

namespace demo {

namespace {

template <class T>
void replaceBound(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

// Every texture, vertex buffer and index buffer this device sees was made by it, so the wrappers
// are ours; a null stays null.
D3d8Texture* wrapper(Texture* texture) { return static_cast<D3d8Texture*>(texture); }
IDirect3DTexture8* nativeOf(Texture* texture) { return texture ? wrapper(texture)->native() : nullptr; }

}  // namespace

D3d8Device::D3d8Device(IDirect3DDevice8* native, Direct3D* owner) : native_(native), owner_(owner) {
  owner_->AddRef();
}

D3d8Device::~D3d8Device() {
  // The native device lets go of its own references to bound objects when it is released; ours go first.
  for (D3d8Texture*& texture : textures_) replaceBound<D3d8Texture>(texture, nullptr);
  replaceBound<D3d8VertexBuffer>(stream_, nullptr);
  replaceBound<D3d8IndexBuffer>(indices_, nullptr);
  native_->Release();
  owner_->Release();
}

HResult D3d8Device::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                          uint32_t stencil) {
  if (count && !rects) return D3DERR_INVALIDCALL;
  std::vector<::D3DRECT> native(count);
  for (uint32_t i = 0; i < count; ++i) native[i] = toNative(rects[i]);
  return native_->Clear(count, count ? native.data() : nullptr, flags, color, z, stencil);
}

HResult D3d8Device::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
  return native_->SetRenderState(convertEnum<::D3DRENDERSTATETYPE>(state), value);
}

HResult D3d8Device::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
  return native_->SetTextureStageState(stage, convertEnum<::D3DTEXTURESTAGESTATETYPE>(type), value);
}

HResult D3d8Device::SetTexture(uint32_t stage, Texture* texture) {
  if (stage >= Stages) return D3DERR_INVALIDCALL;
  const HRESULT result = native_->SetTexture(stage, nativeOf(texture));
  if (SUCCEEDED(result)) replaceBound(textures_[stage], wrapper(texture));
  return result;
}

HResult D3d8Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  if (!matrix) return D3DERR_INVALIDCALL;
  const ::D3DMATRIX native = toNative(*matrix);
  return native_->SetTransform(convertEnum<::D3DTRANSFORMSTATETYPE>(state), &native);
}

HResult D3d8Device::SetMaterial(const D3DMATERIAL8* material) {
  if (!material) return D3DERR_INVALIDCALL;
  const ::D3DMATERIAL8 native = toNative(*material);
  return native_->SetMaterial(&native);
}

HResult D3d8Device::SetLight(uint32_t index, const D3DLIGHT8* light) {
  if (!light) return D3DERR_INVALIDCALL;
  const ::D3DLIGHT8 native = toNative(*light);
  return native_->SetLight(index, &native);
}

HResult D3d8Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertexData,
                                    uint32_t vertexStride) {
  return native_->DrawPrimitiveUP(convertEnum<::D3DPRIMITIVETYPE>(type), primitiveCount, vertexData, vertexStride);
}

HResult D3d8Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex, uint32_t numVertices,
                                           uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                           const void* vertexData, uint32_t vertexStride) {
  return native_->DrawIndexedPrimitiveUP(convertEnum<::D3DPRIMITIVETYPE>(type), minVertexIndex, numVertices,
                                         primitiveCount, indexData, convertEnum<::D3DFORMAT>(indexFormat), vertexData,
                                         vertexStride);
}

HResult D3d8Device::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;  // the show draws from one stream
  auto* ours = static_cast<D3d8VertexBuffer*>(buffer);
  const HRESULT result = native_->SetStreamSource(0, ours ? ours->native() : nullptr, stride);
  if (SUCCEEDED(result)) replaceBound(stream_, ours);
  return result;
}

HResult D3d8Device::SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) {
  auto* ours = static_cast<D3d8IndexBuffer*>(buffer);
  const HRESULT result = native_->SetIndices(ours ? ours->native() : nullptr, baseVertexIndex);
  if (SUCCEEDED(result)) replaceBound(indices_, ours);
  return result;
}

HResult D3d8Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t numVertices,
                                         uint32_t startIndex, uint32_t primitiveCount) {
  return native_->DrawIndexedPrimitive(convertEnum<::D3DPRIMITIVETYPE>(type), minIndex, numVertices, startIndex,
                                       primitiveCount);
}

HResult D3d8Device::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                                  D3DPOOL pool, Texture** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  IDirect3DTexture8* native = nullptr;
  const HRESULT result = native_->CreateTexture(width, height, levels, usage, convertEnum<::D3DFORMAT>(format),
                                                convertEnum<::D3DPOOL>(pool), &native);
  if (SUCCEEDED(result)) *texture = new D3d8Texture(native);
  return result;
}

HResult D3d8Device::UpdateTexture(Texture* source, Texture* destination) {
  return native_->UpdateTexture(nativeOf(source), nativeOf(destination));
}

HResult D3d8Device::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                       VertexBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  IDirect3DVertexBuffer8* native = nullptr;
  const HRESULT result = native_->CreateVertexBuffer(length, usage, fvf, convertEnum<::D3DPOOL>(pool), &native);
  if (SUCCEEDED(result)) *buffer = new D3d8VertexBuffer(native);
  return result;
}

HResult D3d8Device::CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                      IndexBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  IDirect3DIndexBuffer8* native = nullptr;
  const HRESULT result = native_->CreateIndexBuffer(length, usage, convertEnum<::D3DFORMAT>(format),
                                                    convertEnum<::D3DPOOL>(pool), &native);
  if (SUCCEEDED(result)) *buffer = new D3d8IndexBuffer(native);
  return result;
}

}  // namespace demo
