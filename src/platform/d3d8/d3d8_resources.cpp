#include "platform/d3d8/d3d8_resources.h"

namespace demo {

HResult D3d8Texture::GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  ::D3DSURFACE_DESC native{};
  const HRESULT result = native_->GetLevelDesc(level, &native);
  if (SUCCEEDED(result)) *desc = fromNative(native);
  return result;
}

HResult D3d8Texture::LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) {
  if (!locked) return D3DERR_INVALIDCALL;
  ::D3DLOCKED_RECT native{};
  const ::RECT area = rect ? toNative(*rect) : ::RECT{};
  const HRESULT result = native_->LockRect(level, &native, rect ? &area : nullptr, flags);
  if (SUCCEEDED(result)) *locked = {native.Pitch, native.pBits};
  return result;
}

HResult D3d8VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  ::D3DVERTEXBUFFER_DESC native{};
  const HRESULT result = native_->GetDesc(&native);
  if (SUCCEEDED(result)) *desc = fromNative(native);
  return result;
}

HResult D3d8IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  ::D3DINDEXBUFFER_DESC native{};
  const HRESULT result = native_->GetDesc(&native);
  if (SUCCEEDED(result)) *desc = fromNative(native);
  return result;
}

}  // namespace demo
