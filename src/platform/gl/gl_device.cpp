#include "platform/gl/gl_device.h"

#include <cstring>

#include <epoxy/gl.h>

#include "platform/gl/gl_direct3d.h"

namespace demo {

namespace {

template <class T>
void replaceBound(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

// How many times the back buffer's size the OpenGL viewport is along one axis (see
// useGuardBand). A power of two, so that scaling clip coordinates by its inverse is exact, and
// only where the viewport's corner then lies on a whole pixel.
GLint guardBandFactor(uint32_t size, GLint maxViewport) {
  for (GLint factor : {4, 2})
    if (size % 2 == 0 && GLint(size) <= maxViewport / factor) return factor;
  return 1;
}

}  // namespace

GlDevice* GlDevice::create(std::unique_ptr<GlContext> context, Direct3D* owner, const D3DPRESENT_PARAMETERS& params,
                           std::string& error) {
  if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0 || params.BackBufferWidth > 16384 ||
      params.BackBufferHeight > 16384) {
    error = "back buffer size out of range";
    return nullptr;
  }
  auto* device = new GlDevice(std::move(context), owner, params);
  if (!device->initialise(params.BackBufferFormat, error)) {
    device->Release();
    return nullptr;
  }
  return device;
}

GlDevice::GlDevice(std::unique_ptr<GlContext> context, Direct3D* owner, const D3DPRESENT_PARAMETERS& params)
    : context_(std::move(context)),
      home_(std::make_shared<GlResourceHome>()),
      owner_(owner),
      width_(params.BackBufferWidth),
      height_(params.BackBufferHeight) {
  owner_->AddRef();
  home_->context = context_.get();
  gles_ = context_->api() == GlApi::Gles30;
  // Without an automatic depth buffer Direct3D starts with depth testing off.
  if (!params.EnableAutoDepthStencil) state_.renderStates[D3DRS_ZENABLE] = D3DZB_FALSE;
  context_->setSwapInterval(params.FullScreen_PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
}

GlDevice::~GlDevice() {
  for (GlTexture*& t : textures_) replaceBound<GlTexture>(t, nullptr);
  replaceBound<MemoryVertexBuffer>(stream_, nullptr);
  replaceBound<MemoryIndexBuffer>(indices_, nullptr);
  if (context_->makeCurrent()) {
    const GLuint buffers[] = {vertexBuffer_, indexBuffer_};
    glDeleteBuffers(2, buffers);
    glDeleteVertexArrays(1, &vertexArray_);
    glDeleteSamplers(ShaderStages, samplers_);
    glDeleteTextures(1, &whiteTexture_);
    glDeleteFramebuffers(1, &framebuffer_);
    const GLuint renderbuffers[] = {colorBuffer_, depthBuffer_};
    glDeleteRenderbuffers(2, renderbuffers);
    for (auto& [key, program] : programs_) program->destroy();
  }
  // Textures that outlive the device find no context and leave their names to it.
  home_->context = nullptr;
  context_.reset();
  owner_->Release();
}

bool GlDevice::initialise(D3DFORMAT backBufferFormat, std::string& error) {
  if (!context_->makeCurrent()) {
    error = "cannot make the OpenGL context current";
    return false;
  }
  const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  renderer_ = name ? name : "";
  // The program of the default state, built now so that a shader the driver rejects fails creation.
  const bool noTextures[ShaderStages] = {false, false};
  auto program = std::make_unique<GlProgram>();
  if (!program->build(context_->api(), shaderKey(state_, noTextures), error)) {
    program->destroy();
    return false;
  }
  program_ = program.get();
  programs_.emplace(shaderKey(state_, noTextures), std::move(program));

  glGenFramebuffers(1, &framebuffer_);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  glGenRenderbuffers(1, &colorBuffer_);
  glGenRenderbuffers(1, &depthBuffer_);
  // A 16-bit back buffer keeps the show's 16-bit look; RGBA8 where R5G6B5 cannot be rendered to.
  const GLenum formats[] = {backBufferFormat == D3DFMT_R5G6B5 ? GLenum{GL_RGB565} : GLenum{GL_RGBA8}, GL_RGBA8};
  bool complete = false;
  for (GLenum format : formats) {
    glBindRenderbuffer(GL_RENDERBUFFER, colorBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, format, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, static_cast<GLsizei>(width_),
                          static_cast<GLsizei>(height_));
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer_);
    while (glGetError() != GL_NO_ERROR) {
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
      complete = true;
      break;
    }
  }
  if (!complete) {
    error = "the back buffer cannot be rendered to";
    return false;
  }

  glGenVertexArrays(1, &vertexArray_);
  glBindVertexArray(vertexArray_);
  glGenBuffers(1, &vertexBuffer_);
  glGenBuffers(1, &indexBuffer_);
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
  glGenSamplers(ShaderStages, samplers_);

  // Bound wherever no texture is set: a sample taken anyway reads opaque white.
  glGenTextures(1, &whiteTexture_);
  glBindTexture(GL_TEXTURE_2D, whiteTexture_);
  const uint8_t white[4] = {255, 255, 255, 255};
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);

  glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
  glUseProgram(program_->name());
  // OpenGL dithers by default, Direct3D does not.
  glDisable(GL_DITHER);
  glDisable(GL_SCISSOR_TEST);
  return true;
}

// The rasterizer clips every triangle that crosses the viewport's edges, in float, into a fan of new
// triangles whose attribute planes tilt by the rounding of the new vertices: near the fan's edges
// texture coordinates then land steps of the sampler's 1/256 texel off the original triangle's plane,
// which is what Direct3D interpolates. Worst where an edge runs through a corner of the viewport.
// For filled triangles the viewport is a few times the back buffer, centred on it, so that they
// reach well past the back buffer unclipped and the framebuffer's bounds cut them off instead; the
// shader shrinks clip coordinates to match, so every window coordinate stays what it was, bit for
// bit. Lines and points keep the plain viewport: wireframe edges running off the back buffer,
// drawn unclipped, lit other pixels than Direct3D 8 under Wine (device scene lit-wireframe).
void GlDevice::useGuardBand(bool on) {
  if (guardBandOn_ == on) return;
  guardBandOn_ = on;
  transformsDirty_ = true;  // the shader's shrink follows the viewport
  const auto w = static_cast<GLint>(width_), h = static_cast<GLint>(height_);
  if (!on) {
    glViewport(0, 0, w, h);
    return;
  }
  GLint maxViewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxViewport);
  const GLint fx = guardBandFactor(width_, maxViewport[0]), fy = guardBandFactor(height_, maxViewport[1]);
  glViewport(-(fx - 1) * w / 2, -(fy - 1) * h / 2, fx * w, fy * h);
  guardBand_[0] = 1.0f / static_cast<float>(fx);
  guardBand_[1] = 1.0f / static_cast<float>(fy);
}

uint32_t GlDevice::takeGlError() {
  if (!context_->makeCurrent()) return GL_INVALID_OPERATION;
  const GLenum first = glGetError();
  while (glGetError() != GL_NO_ERROR) {
  }
  return first;
}

bool GlDevice::softwareRenderer() const { return isSoftwareRenderer(renderer_.c_str()); }

bool GlDevice::readPixels(std::vector<uint8_t>& rgba) {
  if (!context_->makeCurrent()) return false;
  rgba.resize(size_t{width_} * 4 * height_);
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  // OpenGL reads its bottom row first, which is the back buffer's top row (it is kept upside down).
  glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_RGBA, GL_UNSIGNED_BYTE,
               rgba.data());
  return glGetError() == GL_NO_ERROR;
}

HResult GlDevice::Clear(uint32_t count, const D3DRECT* rects, uint32_t flags, D3DCOLOR color, float z,
                        uint32_t /*stencil*/) {
  // The back buffer has no stencil; Direct3D refuses to clear one that does not exist.
  if ((count && !rects) || (flags & D3DCLEAR_STENCIL)) return D3DERR_INVALIDCALL;
  if (!context_->makeCurrent()) return D3DERR_INVALIDCALL;
  GLbitfield mask = 0;
  if (flags & D3DCLEAR_TARGET) {
    mask |= GL_COLOR_BUFFER_BIT;
    glClearColor(((color >> 16) & 255) / 255.0f, ((color >> 8) & 255) / 255.0f, (color & 255) / 255.0f,
                 (color >> 24) / 255.0f);
  }
  if (flags & D3DCLEAR_ZBUFFER) {
    mask |= GL_DEPTH_BUFFER_BIT;
    if (gles_)
      glClearDepthf(z);
    else
      glClearDepth(z);
    // glClear obeys the depth mask; Direct3D's Clear does not depend on ZWRITEENABLE.
    glDepthMask(GL_TRUE);
    pipelineDirty_ = true;
  }
  if (!mask) return D3D_OK;
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  if (count == 0) {
    glClear(mask);
    return D3D_OK;
  }
  glEnable(GL_SCISSOR_TEST);
  for (uint32_t i = 0; i < count; ++i) {
    const auto clamp = [](int32_t v, uint32_t limit) { return v < 0 ? 0 : v > int32_t(limit) ? int32_t(limit) : v; };
    const int32_t x1 = clamp(rects[i].x1, width_), x2 = clamp(rects[i].x2, width_);
    const int32_t y1 = clamp(rects[i].y1, height_), y2 = clamp(rects[i].y2, height_);
    if (x2 <= x1 || y2 <= y1) continue;
    // Rows count from the top in both: the back buffer is kept top row first.
    glScissor(x1, y1, x2 - x1, y2 - y1);
    glClear(mask);
  }
  glDisable(GL_SCISSOR_TEST);
  return D3D_OK;
}

HResult GlDevice::BeginScene() {
  if (insideScene_) return D3DERR_INVALIDCALL;
  insideScene_ = true;
  return D3D_OK;
}

HResult GlDevice::EndScene() {
  if (!insideScene_) return D3DERR_INVALIDCALL;
  insideScene_ = false;
  return D3D_OK;
}

HResult GlDevice::Present() {
  if (!context_->makeCurrent()) return D3DERR_INVALIDCALL;
  int windowWidth = 0, windowHeight = 0;
  context_->windowSize(windowWidth, windowHeight);
  if (windowWidth <= 0 || windowHeight <= 0) {
    // Headless: the frame is complete once everything queued has run.
    glFinish();
    return D3D_OK;
  }
  // The whole back buffer into the whole window, stretched when the sizes differ.
  glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  // The back buffer is kept top row first, the window's framebuffer bottom row first.
  glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), 0, windowHeight, windowWidth, 0,
                    GL_COLOR_BUFFER_BIT, GL_LINEAR);
  context_->swapBuffers();
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
  return D3D_OK;
}

HResult GlDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, D3DFORMAT format,
                                D3DPOOL pool, Texture** texture) {
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = GlTexture::create(home_, gles_, width, height, levels, usage, format, pool);
  return *texture ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult GlDevice::UpdateTexture(Texture* source, Texture* destination) {
  auto* src = dynamic_cast<GlTexture*>(source);
  auto* dst = dynamic_cast<GlTexture*>(destination);
  if (!src || !dst || src->pool() != D3DPOOL_SYSTEMMEM || dst->pool() != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
  return dst->copyFrom(*src);
}

HResult GlDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, D3DPOOL pool,
                                     VertexBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  // Vertices are streamed from memory at each draw, as the show's buffers live in system memory.
  *buffer = MemoryVertexBuffer::create(length, usage, fvf, pool);
  return *buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult GlDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, D3DFORMAT format, D3DPOOL pool,
                                    IndexBuffer** buffer) {
  if (!buffer) return D3DERR_INVALIDCALL;
  *buffer = MemoryIndexBuffer::create(length, usage, format, pool);
  return *buffer ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult GlDevice::SetTexture(uint32_t stage, Texture* texture) {
  if (stage >= MaxStages) return D3DERR_INVALIDCALL;
  auto* gl = dynamic_cast<GlTexture*>(texture);
  if (texture && (!gl || gl->home() != home_.get())) return D3DERR_INVALIDCALL;  // another device's texture
  replaceBound(textures_[stage], gl);
  return D3D_OK;
}

HResult GlDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t stride) {
  auto* memory = dynamic_cast<MemoryVertexBuffer*>(buffer);
  if (stream != 0 || (buffer && !memory)) return D3DERR_INVALIDCALL;
  replaceBound(stream_, memory);
  streamStride_ = stride;
  return D3D_OK;
}

HResult GlDevice::SetIndices(IndexBuffer* buffer, uint32_t baseVertexIndex) {
  auto* memory = dynamic_cast<MemoryIndexBuffer*>(buffer);
  if (buffer && !memory) return D3DERR_INVALIDCALL;
  replaceBound(indices_, memory);
  baseVertexIndex_ = baseVertexIndex;
  return D3D_OK;
}

}  // namespace demo
