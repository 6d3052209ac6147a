#pragma once
// The metaball surface drawn as it is found: cells' triangles gathered into small batches in memory,
// each drawn twice, as an environment-mapped solid and as a faint wireframe over it.

#include <cstdint>
#include <memory>

#include "fx/blob_surface.h"
#include "gfx/device_layer.h"

namespace demo {

class BlobBatch final : public BlobSurface {
 public:
  static constexpr int32_t Capacity = 200;  // vertices, and indices
  // A batch past either mark is drawn before the next cell joins it: a cell brings 12 vertices
  // (one per edge) and 15 indices (five triangles) at most.
  static constexpr int32_t FlushAboveVertices = Capacity - 12;
  static constexpr int32_t FlushAboveIndices = Capacity - 15;

  // The two buffers; false when memory runs out.
  bool allocateBuffers();

  // Appends the cell, with texture coordinates (n.x + 1) / 2, (n.y + 1) / 2 from its normals.
  void addCell(int count, const SurfaceVertex* cellVertices, const int8_t* row) override;
  // Draws what the batch holds (solid, then wireframe, as enabled) and empties it.
  void flush() override;

  std::unique_ptr<VertexNormalTex[]> vertices;
  std::unique_ptr<uint16_t[]> indices;
  int32_t vertexCount = 0;
  int32_t indexCount = 0;
  int32_t drawWire = 0;
  int32_t drawSolid = 0;
  D3DMATERIAL8 solidMaterial{};
  D3DMATERIAL8 wireMaterial{};
  Texture* texture = nullptr;  // the environment map; not owned
  DeviceLayer* layer = nullptr;  // where batches are drawn; without one they are only emptied
};

}  // namespace demo
