#include "fx/blob_batch.h"

#include <cassert>
#include <new>

#include "fx/cube_tables.h"

namespace demo {

bool BlobBatch::allocateBuffers() {
  vertices.reset(new (std::nothrow) VertexNormalTex[Capacity]);
  indices.reset(new (std::nothrow) uint16_t[Capacity]);
  vertexCount = indexCount = 0;
  return vertices && indices;
}

void BlobBatch::addCell(int count, const SurfaceVertex* cellVertices, const int8_t* row) {
  assert(count >= 0 && count <= 12);
  if (!vertices || !indices) return;
  if (vertexCount > FlushAboveVertices || indexCount > FlushAboveIndices) flush();
  VertexNormalTex* out = &vertices[vertexCount];
  for (int v = 0; v < count; ++v) {
    const Vec3& p = cellVertices[v].position;
    const Vec3& n = cellVertices[v].normal;
    out[v] = {p.x, p.y, p.z, n.x, n.y, n.z, (n.x + 1.0f) * 0.5f, (n.y + 1.0f) * 0.5f};
  }
  for (int i = 0; i < CubeTables::RowLength && row[i] != CubeTables::RowEnd; ++i)
    indices[indexCount++] = static_cast<uint16_t>(row[i] + vertexCount);
  vertexCount += count;
}

void BlobBatch::flush() {
  if (vertexCount < 1 || indexCount < 1) return;
  RenderDevice* device = layer ? layer->device() : nullptr;
  if (device) {
    const auto vertexTotal = static_cast<uint32_t>(vertexCount);
    const auto triangles = static_cast<uint32_t>(indexCount / 3);
    if (drawSolid) {
      layer->setMaterial(solidMaterial);
      layer->bindTexture(texture);
      device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, vertexTotal, triangles, indices.get(), D3DFMT_INDEX16,
                                     vertices.get(), sizeof(VertexNormalTex));
    }
    if (drawWire) {
      layer->setMaterial(wireMaterial);
      layer->bindTexture(nullptr);
      device->SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
      // The lines are drawn over the solid they belong to, never hidden by it. The device cannot be
      // asked for a state, and the blob pass turned depth testing on, so that is what comes back.
      device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
      device->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, vertexTotal, triangles, indices.get(), D3DFMT_INDEX16,
                                     vertices.get(), sizeof(VertexNormalTex));
      device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
      device->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    }
  }
  vertexCount = indexCount = 0;
}

}  // namespace demo
