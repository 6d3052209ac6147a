#pragma once
// A RenderDevice for tests: keeps every resource in memory and logs every call with its arguments,
// so tests can assert the exact state sequences the show makes without a GPU. It also tracks the
// current state (starting from Direct3D 8's defaults) and keeps a copy of what each draw call drew.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/memory_resources.h"
#include "platform/render_device.h"

namespace demo::test {

// One call. Integer arguments as they were passed; floats as their bit patterns (floatArg reads
// them back); pointers as addresses (0 for null).
struct DeviceCall {
  std::string name;
  std::vector<uint64_t> args;

  float floatArg(size_t i) const;
  std::string toString() const;  // e.g. "SetRenderState(27, 1)"
};

// What one draw call drew, with the state it was drawn in.
struct DrawRecord {
  std::string call;  // "DrawPrimitiveUP", "DrawIndexedPrimitiveUP" or "DrawIndexedPrimitive"
  D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
  uint32_t primitiveCount = 0;
  uint32_t minVertexIndex = 0;
  uint32_t numVertices = 0;
  uint32_t fvf = 0;
  uint32_t stride = 0;
  std::vector<uint8_t> vertices;  // from vertex 0 up to the last vertex the call may read
  std::vector<uint32_t> indices;  // empty for non-indexed draws
  D3DMATRIX world{}, projection{};
  D3DMATERIAL8 material{};
  Texture* texture0 = nullptr;
  Texture* texture1 = nullptr;
  std::map<uint32_t, uint32_t> renderStates;
  std::map<uint32_t, uint32_t> stage0, stage1;
  bool insideScene = false;

  // Vertex i of a 0x142 draw.
  VertexColorTex colorVertex(size_t i) const;
  size_t vertexCount() const { return stride ? vertices.size() / stride : 0; }
};

class RecordingDevice final : public RefCounted<RenderDevice> {
 public:
  RecordingDevice(uint32_t backBufferWidth, uint32_t backBufferHeight);

  // The log.
  std::vector<DeviceCall> calls;
  std::vector<DrawRecord> draws;
  void clearLog() {
    calls.clear();
    draws.clear();
  }
  size_t count(const std::string& name) const;
  std::vector<DeviceCall> callsNamed(const std::string& name) const;
  std::vector<std::string> names() const;

  // The current state.
  uint32_t renderState(D3DRENDERSTATETYPE state) const;
  uint32_t textureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type) const;
  Texture* texture(uint32_t stage) const { return stage < 8 ? textures_[stage] : nullptr; }
  const D3DMATRIX& transform(D3DTRANSFORMSTATETYPE state) const;
  const D3DMATERIAL8& material() const { return material_; }
  const D3DLIGHT8* light(uint32_t index) const;
  bool lightEnabled(uint32_t index) const;
  uint32_t vertexShader() const { return fvf_; }
  bool insideScene() const { return insideScene_; }
  uint32_t presentCount() const { return presents_; }
  D3DCOLOR lastClearColor() const { return lastClearColor_; }
  uint32_t backBufferWidth() const { return width_; }
  uint32_t backBufferHeight() const { return height_; }
  // Makes CreateTexture fail from now on (to test failure paths).
  bool failCreateTexture = false;
  // Makes CreateVertexBuffer and CreateIndexBuffer fail from now on.
  bool failCreateBuffers = false;

  HResult Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                uint32_t stencil) override;
  HResult BeginScene() override;
  HResult EndScene() override;
  HResult Present() override;
  HResult SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) override;
  HResult SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) override;
  HResult SetTexture(uint32_t stage, Texture* texture) override;
  HResult SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
  HResult SetMaterial(const D3DMATERIAL8* material) override;
  HResult SetLight(uint32_t index, const D3DLIGHT8* light) override;
  HResult LightEnable(uint32_t index, bool enable) override;
  HResult SetVertexShader(uint32_t fvf) override;
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
  ~RecordingDevice() override;
  void log(const char* name, std::vector<uint64_t> args);
  DrawRecord drawRecord(const char* call, D3DPRIMITIVETYPE type, uint32_t primitiveCount, uint32_t stride) const;

  uint32_t width_, height_;
  std::map<uint32_t, uint32_t> renderStates_;
  std::map<uint32_t, uint32_t> stageStates_[8];
  Texture* textures_[8] = {};
  std::map<uint32_t, D3DMATRIX> transforms_;
  D3DMATERIAL8 material_{};
  std::map<uint32_t, D3DLIGHT8> lights_;
  std::map<uint32_t, bool> lightEnabled_;
  uint32_t fvf_ = 0;
  bool insideScene_ = false;
  uint32_t presents_ = 0;
  D3DCOLOR lastClearColor_ = 0;
  VertexBuffer* stream_ = nullptr;
  uint32_t streamStride_ = 0;
  IndexBuffer* indices_ = nullptr;
  uint32_t baseVertexIndex_ = 0;
};

// The Direct3D object that hands out recording devices. Configure what it reports and which
// device-creation attempts fail; it remembers every attempt.
class RecordingDirect3D final : public RefCounted<Direct3D> {
 public:
  D3DDISPLAYMODE desktop{1024, 768, 60, D3DFMT_X8R8G8B8};
  std::vector<D3DDISPLAYMODE> modes{{640, 480, 60, D3DFMT_R5G6B5}, {640, 480, 75, D3DFMT_R5G6B5},
                                    {640, 480, 85, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}};
  bool failDisplayMode = false;
  // Attempts that fail, as (device type, behaviour flags) pairs.
  std::vector<std::pair<D3DDEVTYPE, uint32_t>> failingAttempts;

  struct Attempt {
    D3DDEVTYPE type;
    uint32_t behaviorFlags;
    D3DPRESENT_PARAMETERS parameters;
  };
  std::vector<Attempt> attempts;
  RecordingDevice* lastDevice = nullptr;  // not owned: the device layer releases it

  uint32_t GetAdapterModeCount(uint32_t adapter) override;
  HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) override;
  HResult GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) override;
  HResult CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle focusWindow, uint32_t behaviorFlags,
                       D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) override;
};

// A Direct3DFactory over a RecordingDirect3D passed as the context: each call AddRefs and returns
// it, so the test keeps its own reference and can inspect it after the device layer let go.
Direct3D* recordingDirect3DFactory(void* context, uint32_t sdkVersion);

}  // namespace demo::test
