#pragma once
// The RenderDevice on OpenGL 3.3 core / OpenGL ES 3.0: Direct3D 8's fixed-function pipeline
// reproduced by the project's own shaders (gl_program.cpp), drawing into a framebuffer object of
// the back buffer's size that Present stretches into the window (or, headless, just finishes).

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gl/fixed_function.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_program.h"
#include "platform/gl/gl_texture.h"
#include "platform/memory_resources.h"
#include "platform/render_device.h"

namespace demo {

class GlDevice final : public RefCounted<RenderDevice> {
 public:
  // Takes the context, AddRefs `owner` (the Direct3D object) for its lifetime. Null on failure,
  // with the reason in `error`.
  static GlDevice* create(std::unique_ptr<GlContext> context, Direct3D* owner, const D3DPRESENT_PARAMETERS& params,
                          std::string& error);

  uint32_t backBufferWidth() const { return width_; }
  uint32_t backBufferHeight() const { return height_; }
  // The back buffer as 8-bit RGBA, top row first (for tests, snapshots and capture).
  bool readPixels(std::vector<uint8_t>& rgba);
  // The OpenGL renderer's name, and whether it is a software rasteriser.
  const std::string& renderer() const { return renderer_; }
  bool softwareRenderer() const;
  GlContext& context() { return *context_; }
  // The first OpenGL error since the last call (0 for none): a device used correctly makes none.
  uint32_t takeGlError();

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
  // One draw call's data: vertices from index 0 up to the last one it may read, optional indices.
  struct DrawData {
    const uint8_t* vertices;
    uint32_t vertexCount;
    uint32_t stride;
    const void* indices;
    uint32_t indexSize;  // 0 without indices, else 2 or 4
  };

  GlDevice(std::unique_ptr<GlContext> context, Direct3D* owner, const D3DPRESENT_PARAMETERS& params);
  ~GlDevice() override;
  bool initialise(D3DFORMAT backBufferFormat, std::string& error);
  void useGuardBand(bool on);
  void applyDefaultGlState();

  // gl_device_draw.cpp
  HResult draw(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const DrawData& data);
  bool indicesInRange(const DrawData& data, uint32_t count) const;
  void bindVertices(const DrawData& data);

  // gl_device_state.cpp
  bool prepareDraw();
  bool selectProgram();
  void applyPipeline();
  void applyTransforms();
  void applyLighting();
  void bindTextures();
  void applySamplers();

  std::unique_ptr<GlContext> context_;
  std::shared_ptr<GlResourceHome> home_;
  Direct3D* owner_;
  uint32_t width_, height_;
  bool guardBandOn_ = false;
  float guardBand_[2] = {1.0f, 1.0f};  // clip coordinates shrink by this for the enlarged viewport
  bool gles_ = false;
  std::string renderer_;
  bool insideScene_ = false;

  FixedFunctionState state_;
  GlTexture* textures_[MaxStages] = {};
  MemoryVertexBuffer* stream_ = nullptr;
  uint32_t streamStride_ = 0;
  MemoryIndexBuffer* indices_ = nullptr;
  uint32_t baseVertexIndex_ = 0;

  // What changed since the last draw.
  bool transformsDirty_ = true, lightingDirty_ = true, pipelineDirty_ = true, samplersDirty_ = true;

  std::map<ShaderKey, std::unique_ptr<GlProgram>> programs_;
  GlProgram* program_ = nullptr;
  uint32_t framebuffer_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
  uint32_t vertexArray_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0;
  uint32_t samplers_[ShaderStages] = {};
  uint32_t whiteTexture_ = 0;
  std::vector<uint32_t> lineScratch_;
};

}  // namespace demo
