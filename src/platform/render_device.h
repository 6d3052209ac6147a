#pragma once
// The graphics seam: the subset of Direct3D 8 the show draws with, as an interface of our own.
//
// Objects are reference-counted like their Direct3D counterparts: whoever creates or AddRefs one
// calls Release once. Method names and argument orders follow Direct3D 8, so that the show's
// drawing code reads like its documentation; backends are the OpenGL device (windowed through SDL2,
// headless through EGL), the recording device of the tests, and a native Direct3D 8 device.
// All calls come from the main thread.

#include <cstdint>

#include "platform/render_types.h"

namespace demo {

class Unknown {
 public:
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

 protected:
  virtual ~Unknown() = default;
};

class Texture : public Unknown {
 public:
  virtual uint32_t GetLevelCount() = 0;
  virtual HResult GetLevelDesc(uint32_t level, D3DSURFACE_DESC* desc) = 0;
  // rect null = the whole level. Textures in D3DPOOL_DEFAULT cannot be locked.
  virtual HResult LockRect(uint32_t level, D3DLOCKED_RECT* locked, const RECT* rect, uint32_t flags) = 0;
  virtual HResult UnlockRect(uint32_t level) = 0;
};

class VertexBuffer : public Unknown {
 public:
  // size 0 = the whole buffer from offset.
  virtual HResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) = 0;
  virtual HResult Unlock() = 0;
  virtual HResult GetDesc(D3DVERTEXBUFFER_DESC* desc) = 0;
};

class IndexBuffer : public Unknown {
 public:
  virtual HResult Lock(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) = 0;
  virtual HResult Unlock() = 0;
  virtual HResult GetDesc(D3DINDEXBUFFER_DESC* desc) = 0;
};

class RenderDevice : public Unknown {
 public:
  // Frame.
  virtual HResult Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                        uint32_t stencil) = 0;
  virtual HResult BeginScene() = 0;
  virtual HResult EndScene() = 0;
  // The whole back buffer to the whole window (no rectangles, no override window, no dirty region).
  virtual HResult Present() = 0;

  // State.
  virtual HResult SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) = 0;
  virtual HResult SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) = 0;
  virtual HResult SetTexture(uint32_t stage, Texture* texture) = 0;
  virtual HResult SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) = 0;
  virtual HResult SetMaterial(const D3DMATERIAL8* material) = 0;
  virtual HResult SetLight(uint32_t index, const D3DLIGHT8* light) = 0;
  virtual HResult LightEnable(uint32_t index, bool enable) = 0;
  // Fixed-function vertex format (FVF code).
  virtual HResult SetVertexShader(uint32_t fvf) = 0;

  // Drawing.
  virtual HResult DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertexData,
                                  uint32_t vertexStride) = 0;
  virtual HResult DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex, uint32_t numVertices,
                                         uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                         const void* vertexData, uint32_t vertexStride) = 0;
  virtual HResult SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) = 0;
  virtual HResult SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) = 0;
  virtual HResult DrawIndexedPrimitive(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t numVertices,
                                       uint32_t startIndex, uint32_t primitiveCount) = 0;

  // Resources.
  virtual HResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                                D3DPOOL pool, Texture** texture) = 0;
  virtual HResult UpdateTexture(Texture* source, Texture* destination) = 0;
  virtual HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                     VertexBuffer** buffer) = 0;
  virtual HResult CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                    IndexBuffer** buffer) = 0;
};

// The object devices come from (IDirect3D8's part the show uses).
class Direct3D : public Unknown {
 public:
  virtual uint32_t GetAdapterModeCount(uint32_t adapter) = 0;
  virtual HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) = 0;
  virtual HResult GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) = 0;
  virtual HResult CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                               D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) = 0;
};

// Direct3DCreate8's place: how the device layer obtains the Direct3D object of the chosen backend.
// Returns null when the backend cannot be brought up. The caller Releases the result.
using Direct3DFactory = Direct3D* (*)(void* context, uint32_t sdkVersion);

}  // namespace demo
