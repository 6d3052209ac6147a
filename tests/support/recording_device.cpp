#include "support/recording_device.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace demo::test {

namespace {

uint64_t bitsOf(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

uint64_t address(const void* p) { return reinterpret_cast<uintptr_t>(p); }

const D3DMATRIX identityMatrix = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

// Direct3D 8's render-state defaults for a device with an automatic depth buffer.
std::map<uint32_t, uint32_t> defaultRenderStates() {
  return {{D3DRS_ZENABLE, D3DZB_TRUE},
          {D3DRS_FILLMODE, D3DFILL_SOLID},
          {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
          {D3DRS_ZWRITEENABLE, 1},
          {D3DRS_ALPHATESTENABLE, 0},
          {D3DRS_SRCBLEND, D3DBLEND_ONE},
          {D3DRS_DESTBLEND, D3DBLEND_ZERO},
          {D3DRS_CULLMODE, D3DCULL_CCW},
          {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
          {D3DRS_DITHERENABLE, 0},
          {D3DRS_ALPHABLENDENABLE, 0},
          {D3DRS_FOGENABLE, 0},
          {D3DRS_SPECULARENABLE, 0},
          {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
          {D3DRS_WRAP0, 0},
          {D3DRS_CLIPPING, 1},
          {D3DRS_LIGHTING, 1},
          {D3DRS_AMBIENT, 0},
          {D3DRS_COLORVERTEX, 1},
          {D3DRS_LOCALVIEWER, 1},
          {D3DRS_NORMALIZENORMALS, 0},
          {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
          {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
          {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
          {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
          {D3DRS_BLENDOP, D3DBLENDOP_ADD}};
}

std::map<uint32_t, uint32_t> defaultStageStates(uint32_t stage) {
  return {{D3DTSS_COLOROP, stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE},
          {D3DTSS_COLORARG1, D3DTA_TEXTURE},
          {D3DTSS_COLORARG2, D3DTA_CURRENT},
          {D3DTSS_ALPHAOP, stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE},
          {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
          {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
          {D3DTSS_TEXCOORDINDEX, stage},
          {D3DTSS_ADDRESSU, D3DTADDRESS_WRAP},
          {D3DTSS_ADDRESSV, D3DTADDRESS_WRAP},
          {D3DTSS_MAGFILTER, D3DTEXF_POINT},
          {D3DTSS_MINFILTER, D3DTEXF_POINT},
          {D3DTSS_MIPFILTER, D3DTEXF_NONE},
          {D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE}};
}

template <class T>
void replaceBound(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

}  // namespace

float DeviceCall::floatArg(size_t i) const {
  const auto u = static_cast<uint32_t>(args.at(i));
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}

std::string DeviceCall::toString() const {
  std::ostringstream out;
  out << name << '(';
  for (size_t i = 0; i < args.size(); ++i) out << (i ? ", " : "") << args[i];
  out << ')';
  return out.str();
}

VertexColorTex DrawRecord::colorVertex(size_t i) const {
  VertexColorTex v{};
  if (stride >= sizeof v && (i + 1) * stride <= vertices.size()) std::memcpy(&v, vertices.data() + i * stride, sizeof v);
  return v;
}

RecordingDevice::RecordingDevice(uint32_t backBufferWidth, uint32_t backBufferHeight)
    : width_(backBufferWidth), height_(backBufferHeight), renderStates_(defaultRenderStates()) {
  for (uint32_t stage = 0; stage < 8; ++stage) stageStates_[stage] = defaultStageStates(stage);
}

RecordingDevice::~RecordingDevice() {
  for (Texture*& t : textures_) replaceBound<Texture>(t, nullptr);
  replaceBound<VertexBuffer>(stream_, nullptr);
  replaceBound<IndexBuffer>(indices_, nullptr);
}

void RecordingDevice::log(const char* name, std::vector<uint64_t> args) { calls.push_back({name, std::move(args)}); }

size_t RecordingDevice::count(const std::string& name) const {
  return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [&](const DeviceCall& c) { return c.name == name; }));
}

std::vector<DeviceCall> RecordingDevice::callsNamed(const std::string& name) const {
  std::vector<DeviceCall> out;
  for (const DeviceCall& c : calls)
    if (c.name == name) out.push_back(c);
  return out;
}

std::vector<std::string> RecordingDevice::names() const {
  std::vector<std::string> out;
  for (const DeviceCall& c : calls) out.push_back(c.name);
  return out;
}

uint32_t RecordingDevice::renderState(D3DRENDERSTATETYPE state) const {
  const auto it = renderStates_.find(state);
  return it == renderStates_.end() ? 0 : it->second;
}

uint32_t RecordingDevice::textureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type) const {
  if (stage >= 8) return 0;
  const auto it = stageStates_[stage].find(type);
  return it == stageStates_[stage].end() ? 0 : it->second;
}

const D3DMATRIX& RecordingDevice::transform(D3DTRANSFORMSTATETYPE state) const {
  const auto it = transforms_.find(state);
  return it == transforms_.end() ? identityMatrix : it->second;
}

const D3DLIGHT8* RecordingDevice::light(uint32_t index) const {
  const auto it = lights_.find(index);
  return it == lights_.end() ? nullptr : &it->second;
}

bool RecordingDevice::lightEnabled(uint32_t index) const {
  const auto it = lightEnabled_.find(index);
  return it != lightEnabled_.end() && it->second;
}

HResult RecordingDevice::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                               uint32_t stencil) {
  log("Clear", {count, address(rects), flags, color, bitsOf(z), stencil});
  if (flags & D3DCLEAR_TARGET) lastClearColor_ = color;
  return D3D_OK;
}

HResult RecordingDevice::BeginScene() {
  log("BeginScene", {});
  if (insideScene_) return D3DERR_INVALIDCALL;
  insideScene_ = true;
  return D3D_OK;
}

HResult RecordingDevice::EndScene() {
  log("EndScene", {});
  if (!insideScene_) return D3DERR_INVALIDCALL;
  insideScene_ = false;
  return D3D_OK;
}

HResult RecordingDevice::Present() {
  log("Present", {});
  ++presents_;
  return D3D_OK;
}

HResult RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, uint32_t value) {
  log("SetRenderState", {state, value});
  renderStates_[state] = value;
  return D3D_OK;
}

HResult RecordingDevice::SetTextureStageState(uint32_t stage, D3DTEXTURESTAGESTATETYPE type, uint32_t value) {
  log("SetTextureStageState", {stage, type, value});
  if (stage >= 8) return D3DERR_INVALIDCALL;
  stageStates_[stage][type] = value;
  return D3D_OK;
}

HResult RecordingDevice::SetTexture(uint32_t stage, Texture* texture) {
  log("SetTexture", {stage, address(texture)});
  if (stage >= 8) return D3DERR_INVALIDCALL;
  replaceBound(textures_[stage], texture);
  return D3D_OK;
}

HResult RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  log("SetTransform", {state});
  if (!matrix) return D3DERR_INVALIDCALL;
  transforms_[state] = *matrix;
  return D3D_OK;
}

HResult RecordingDevice::SetMaterial(const D3DMATERIAL8* material) {
  log("SetMaterial", {});
  if (!material) return D3DERR_INVALIDCALL;
  material_ = *material;
  return D3D_OK;
}

HResult RecordingDevice::SetLight(uint32_t index, const D3DLIGHT8* light) {
  log("SetLight", {index});
  if (!light) return D3DERR_INVALIDCALL;
  lights_[index] = *light;
  return D3D_OK;
}

HResult RecordingDevice::LightEnable(uint32_t index, bool enable) {
  log("LightEnable", {index, enable ? 1u : 0u});
  lightEnabled_[index] = enable;
  return D3D_OK;
}

HResult RecordingDevice::SetVertexShader(uint32_t fvf) {
  log("SetVertexShader", {fvf});
  fvf_ = fvf;
  return D3D_OK;
}

DrawRecord RecordingDevice::drawRecord(const char* call, D3DPRIMITIVETYPE type, uint32_t primitiveCount,
                                       uint32_t stride) const {
  DrawRecord d;
  d.call = call;
  d.type = type;
  d.primitiveCount = primitiveCount;
  d.fvf = fvf_;
  d.stride = stride;
  d.world = transform(D3DTS_WORLD);
  d.projection = transform(D3DTS_PROJECTION);
  d.material = material_;
  d.texture0 = textures_[0];
  d.texture1 = textures_[1];
  d.renderStates = renderStates_;
  d.stage0 = stageStates_[0];
  d.stage1 = stageStates_[1];
  d.insideScene = insideScene_;
  return d;
}

HResult RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertexData,
                                         uint32_t vertexStride) {
  log("DrawPrimitiveUP", {type, primitiveCount, vertexStride});
  if (!vertexData) return D3DERR_INVALIDCALL;
  DrawRecord d = drawRecord("DrawPrimitiveUP", type, primitiveCount, vertexStride);
  const auto* bytes = static_cast<const uint8_t*>(vertexData);
  d.numVertices = primitiveVertexCount(type, primitiveCount);
  d.vertices.assign(bytes, bytes + static_cast<size_t>(d.numVertices) * vertexStride);
  draws.push_back(std::move(d));
  return D3D_OK;
}

HResult RecordingDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex, uint32_t numVertices,
                                                uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                                const void* vertexData, uint32_t vertexStride) {
  log("DrawIndexedPrimitiveUP", {type, minVertexIndex, numVertices, primitiveCount, indexFormat, vertexStride});
  if (!indexData || !vertexData) return D3DERR_INVALIDCALL;
  DrawRecord d = drawRecord("DrawIndexedPrimitiveUP", type, primitiveCount, vertexStride);
  d.minVertexIndex = minVertexIndex;
  d.numVertices = numVertices;
  const uint32_t indexCount = primitiveVertexCount(type, primitiveCount);
  for (uint32_t i = 0; i < indexCount; ++i)
    d.indices.push_back(indexFormat == D3DFMT_INDEX32 ? static_cast<const uint32_t*>(indexData)[i]
                                                      : static_cast<const uint16_t*>(indexData)[i]);
  const auto* bytes = static_cast<const uint8_t*>(vertexData);
  d.vertices.assign(bytes, bytes + static_cast<size_t>(minVertexIndex + numVertices) * vertexStride);
  draws.push_back(std::move(d));
  return D3D_OK;
}

HResult RecordingDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) {
  log("SetStreamSource", {stream, address(buffer), stride});
  if (stream != 0) return D3DERR_INVALIDCALL;
  replaceBound(stream_, buffer);
  streamStride_ = stride;
  return D3D_OK;
}

HResult RecordingDevice::SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) {
  log("SetIndices", {address(buffer), baseVertexIndex});
  replaceBound(indices_, buffer);
  baseVertexIndex_ = baseVertexIndex;
  return D3D_OK;
}

HResult RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t numVertices,
                                              uint32_t startIndex, uint32_t primitiveCount) {
  log("DrawIndexedPrimitive", {type, minIndex, numVertices, startIndex, primitiveCount});
  auto* vb = static_cast<MemoryVertexBuffer*>(stream_);
  auto* ib = static_cast<MemoryIndexBuffer*>(indices_);
  if (!vb || !ib || streamStride_ == 0) return D3DERR_INVALIDCALL;
  DrawRecord d = drawRecord("DrawIndexedPrimitive", type, primitiveCount, streamStride_);
  d.minVertexIndex = minIndex;
  d.numVertices = numVertices;
  const uint32_t width = ib->format() == D3DFMT_INDEX32 ? 4 : 2;
  const uint32_t indexCount = primitiveVertexCount(type, primitiveCount);
  if (static_cast<uint64_t>(startIndex + indexCount) * width > ib->buffer().length()) return D3DERR_INVALIDCALL;
  for (uint32_t i = 0; i < indexCount; ++i) {
    const uint8_t* p = ib->buffer().bytes() + static_cast<size_t>(startIndex + i) * width;
    uint32_t index = 0;
    std::memcpy(&index, p, width);
    d.indices.push_back(index + baseVertexIndex_);
  }
  const size_t end = std::min<size_t>(vb->buffer().length(),
                                      static_cast<size_t>(baseVertexIndex_ + minIndex + numVertices) * streamStride_);
  d.vertices.assign(vb->buffer().bytes(), vb->buffer().bytes() + end);
  draws.push_back(std::move(d));
  return D3D_OK;
}

HResult RecordingDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                       D3DFORMAT format, D3DPOOL pool, Texture** texture) {
  log("CreateTexture", {width, height, levels, usage, format, pool});
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = failCreateTexture ? nullptr : MemoryTexture::create(width, height, levels, usage, format, pool);
  return *texture ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult RecordingDevice::UpdateTexture(Texture* source, Texture* destination) {
  log("UpdateTexture", {address(source), address(destination)});
  auto* src = static_cast<MemoryTexture*>(source);
  auto* dst = static_cast<MemoryTexture*>(destination);
  if (!src || !dst || src->pool() != D3DPOOL_SYSTEMMEM || dst->pool() != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  return dst->copyFrom(*src);
}

HResult RecordingDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                            VertexBuffer** buffer) {
  log("CreateVertexBuffer", {length, usage, fvf, pool});
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (failCreateBuffers) return D3DERR_OUTOFVIDEOMEMORY;
  *buffer = MemoryVertexBuffer::create(length, usage, fvf, pool);
  return *buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult RecordingDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                           IndexBuffer** buffer) {
  log("CreateIndexBuffer", {length, usage, format, pool});
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = nullptr;
  if (failCreateBuffers) return D3DERR_OUTOFVIDEOMEMORY;
  *buffer = MemoryIndexBuffer::create(length, usage, format, pool);
  return *buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

uint32_t RecordingDirect3D::GetAdapterModeCount(uint32_t adapter) {
  return adapter == 0 ? static_cast<uint32_t>(modes.size()) : 0;
}

HResult RecordingDirect3D::EnumAdapterModes(uint32_t adapter, uint32_t mode, D3DDISPLAYMODE* out) {
  if (adapter != 0 || mode >= modes.size() || !out) return D3DERR_INVALIDCALL;
  *out = modes[mode];
  return D3D_OK;
}

HResult RecordingDirect3D::GetAdapterDisplayMode(uint32_t adapter, D3DDISPLAYMODE* out) {
  if (adapter != 0 || !out || failDisplayMode) return D3DERR_INVALIDCALL;
  *out = desktop;
  return D3D_OK;
}

HResult RecordingDirect3D::CreateDevice(uint32_t adapter, D3DDEVTYPE type, WindowHandle, uint32_t behaviorFlags,
                                        D3DPRESENT_PARAMETERS* parameters, RenderDevice** device) {
  if (!parameters || !device || adapter != 0) return D3DERR_INVALIDCALL;
  attempts.push_back({type, behaviorFlags, *parameters});
  for (const auto& failing : failingAttempts)
    if (failing.first == type && failing.second == behaviorFlags) {
      *device = nullptr;
      return D3DERR_NOTAVAILABLE;
    }
  lastDevice = new RecordingDevice(parameters->BackBufferWidth, parameters->BackBufferHeight);
  *device = lastDevice;
  return D3D_OK;
}

Direct3D* recordingDirect3DFactory(void* context, uint32_t sdkVersion) {
  if (!context || sdkVersion != D3D_SDK_VERSION_8) return nullptr;
  auto* d3d = static_cast<RecordingDirect3D*>(context);
  d3d->AddRef();
  return d3d;
}

}  // namespace demo::test
