// Drawing: vertices and indices stream from memory (user pointers or the memory-backed buffers)
// into one vertex and one index buffer per draw. Every index is checked against the vertices the
// call provides before anything is handed to OpenGL.

#include <epoxy/gl.h>

#include <algorithm>

#include "platform/gl/gl_device.h"

namespace demo {

namespace {

GLenum primitiveMode(D3DPRIMITIVETYPE type) {
  switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}

bool isTriangles(D3DPRIMITIVETYPE type) {
  return type == D3DPT_TRIANGLELIST || type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLEFAN;
}

uint32_t indexSizeOf(D3DFORMAT format) {
  return format == D3DFMT_INDEX16 ? 2 : format == D3DFMT_INDEX32 ? 4 : 0;
}

const void* offsetOf(uint32_t bytes) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(bytes)); }

}  // namespace

HResult GlDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const void* vertexData,
                                  uint32_t vertexStride) {
  if (!vertexData) return D3DERR_INVALIDCALL;
  const uint32_t count = primitiveVertexCount(type, primitiveCount);
  return draw(type, primitiveCount, {static_cast<const uint8_t*>(vertexData), count, vertexStride, nullptr, 0});
}

HResult GlDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, uint32_t minVertexIndex, uint32_t numVertices,
                                         uint32_t primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                         const void* vertexData, uint32_t vertexStride) {
  const uint32_t indexSize = indexSizeOf(indexFormat);
  const uint64_t vertexCount = uint64_t{minVertexIndex} + numVertices;
  if (!indexData || !vertexData || !indexSize || vertexCount > 0xFFFFFFFFu) return D3DERR_INVALIDCALL;
  return draw(type, primitiveCount,
              {static_cast<const uint8_t*>(vertexData), static_cast<uint32_t>(vertexCount), vertexStride, indexData,
               indexSize});
}

HResult GlDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, uint32_t minIndex, uint32_t numVertices,
                                       uint32_t startIndex, uint32_t primitiveCount) {
  if (!stream_ || !indices_ || streamStride_ == 0) return D3DERR_INVALIDCALL;
  const uint32_t indexSize = indexSizeOf(indices_->format());
  const uint64_t indexEnd = (uint64_t{startIndex} + primitiveVertexCount(type, primitiveCount)) * indexSize;
  const uint64_t vertexStart = uint64_t{baseVertexIndex_} * streamStride_;
  const MemoryBuffer& vb = stream_->buffer();
  if (indexEnd > indices_->buffer().length() || vertexStart > vb.length()) return D3DERR_INVALIDCALL;
  // Indices count from the base vertex. The call uses the vertices up to minIndex + numVertices
  // only, so only those are streamed (a particle pool's buffer is mostly unused), and every index is
  // checked against them.
  const uint64_t inBuffer = (vb.length() - vertexStart) / streamStride_;
  const auto available = static_cast<uint32_t>(std::min<uint64_t>(inBuffer, uint64_t{minIndex} + numVertices));
  return draw(type, primitiveCount,
              {vb.bytes() + vertexStart, available, streamStride_,
               indices_->buffer().bytes() + size_t{startIndex} * indexSize, indexSize});
}

bool GlDevice::indicesInRange(const DrawData& data, uint32_t count) const {
  const VertexSource source{data.vertices, data.stride, data.indices, data.indexSize};
  for (uint32_t i = 0; i < count; ++i)
    if (source.indexAt(i) >= data.vertexCount) return false;
  return true;
}

void GlDevice::bindVertices(const DrawData& data) {
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(size_t{data.vertexCount} * data.stride), data.vertices,
               GL_STREAM_DRAW);
  const auto stride = static_cast<GLsizei>(data.stride);
  const uint32_t fvf = state_.fvf;
  uint32_t offset = 12;
  glEnableVertexAttribArray(AttributePosition);
  glVertexAttribPointer(AttributePosition, 3, GL_FLOAT, GL_FALSE, stride, offsetOf(0));
  if (fvf & D3DFVF_NORMAL) {
    glEnableVertexAttribArray(AttributeNormal);
    glVertexAttribPointer(AttributeNormal, 3, GL_FLOAT, GL_FALSE, stride, offsetOf(offset));
    offset += 12;
  } else {
    glDisableVertexAttribArray(AttributeNormal);
    glVertexAttrib4f(AttributeNormal, 0, 0, 0, 0);
  }
  if (fvf & D3DFVF_DIFFUSE) {
    // Four bytes as they lie in memory (blue, green, red, alpha); the shader swizzles, since ES
    // has no GL_BGRA attribute size.
    glEnableVertexAttribArray(AttributeColor);
    glVertexAttribPointer(AttributeColor, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, offsetOf(offset));
    offset += 4;
  } else {
    // A vertex without a diffuse colour is white.
    glDisableVertexAttribArray(AttributeColor);
    glVertexAttrib4f(AttributeColor, 1, 1, 1, 1);
  }
  if (fvf & D3DFVF_SPECULAR) offset += 4;
  if (fvf & D3DFVF_TEX1) {
    glEnableVertexAttribArray(AttributeTexCoord);
    glVertexAttribPointer(AttributeTexCoord, 2, GL_FLOAT, GL_FALSE, stride, offsetOf(offset));
  } else {
    glDisableVertexAttribArray(AttributeTexCoord);
    glVertexAttrib4f(AttributeTexCoord, 0, 0, 0, 1);
  }
}

HResult GlDevice::draw(D3DPRIMITIVETYPE type, uint32_t primitiveCount, const DrawData& data) {
  // Direct3D draws only between BeginScene and EndScene.
  if (!insideScene_ || state_.fvf == 0 || data.stride < fvfStride(state_.fvf)) return D3DERR_INVALIDCALL;
  if (primitiveCount == 0) return D3D_OK;
  const uint32_t count = primitiveVertexCount(type, primitiveCount);
  if (count == 0) return D3DERR_INVALIDCALL;
  if (data.indices ? !indicesInRange(data, count) : count > data.vertexCount) return D3DERR_INVALIDCALL;
  if (!context_->makeCurrent()) return D3DERR_INVALIDCALL;

  const uint32_t fill = state_.rs(D3DRS_FILLMODE);
  useGuardBand(isTriangles(type) && fill == D3DFILL_SOLID);
  if (!prepareDraw()) return D3DERR_INVALIDCALL;
  bindVertices(data);
  if (isTriangles(type) && fill == D3DFILL_WIREFRAME) {
    // ES has no polygon mode: the triangles' edges become lines, culled here as the triangles
    // would have been.
    const D3DMATRIX wvp = multiply(multiply(state_.world, state_.view), state_.projection);
    wireframeEdges(type, primitiveCount, {data.vertices, data.stride, data.indices, data.indexSize}, wvp,
                   state_.rs(D3DRS_CULLMODE), lineScratch_);
    if (lineScratch_.empty()) return D3D_OK;
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(lineScratch_.size() * 4), lineScratch_.data(),
                 GL_STREAM_DRAW);
    glDrawElements(GL_LINES, static_cast<GLsizei>(lineScratch_.size()), GL_UNSIGNED_INT, nullptr);
    return D3D_OK;
  }
  const GLenum mode = isTriangles(type) && fill == D3DFILL_POINT ? GL_POINTS : primitiveMode(type);
  if (data.indices) {
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(size_t{count} * data.indexSize), data.indices,
                 GL_STREAM_DRAW);
    glDrawElements(mode, static_cast<GLsizei>(count), data.indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT,
                   nullptr);
  } else {
    glDrawArrays(mode, 0, static_cast<GLsizei>(count));
  }
  return D3D_OK;
}

}  // namespace demo
