#pragma once
// A scene mesh: vertices with normals and texture coordinates in the mesh's own space, 16-bit
// indices in drawing order, the runs of faces that share texture-wrap flags, and its material. It is
// what an object node normally carries, and draws itself in up to two passes: solid and wireframe.

#include <cstdint>
#include <vector>

#include "platform/render_device.h"
#include "scene/node_attachment.h"
#include "scene/raw_scene.h"

namespace demo {

struct Material;

// Consecutive faces with equal wrap flags: bit 0 wrap in u, bit 1 in v (the device's wrap state).
struct FaceRun {
  uint32_t wrap = 0;
  int32_t firstFace = 0;
  int32_t count = 0;
};

class Mesh final : public NodeAttachment {
 public:
  static constexpr int32_t Transparent = 1;  // flags bit 0: the material has an opacity map

  // The solid pass (when the pass's solid alpha is not 0), then the white wireframe pass over it (when
  // its wire alpha is not 0): one indexed draw per face run each.
  void draw(SceneDraw& pass) override;

  char name[32] = {};
  int32_t flags = 0;
  std::vector<VertexNormalTex> vertices;
  std::vector<FaceRun> runs;
  std::vector<uint16_t> indices;  // three per face
  int32_t faceCount = 0;
  const Material* material = nullptr;  // not owned; never null once built
  bool mirrored = false;               // the mesh matrix turns space inside out

 private:
  void drawRuns(RenderDevice& device) const;
};

// How the vertices are placed.
enum class MeshSpace {
  // Brought into the mesh's own space by the inverse of its matrix, for nodes that place it. A
  // mirrored matrix keeps the file's winding; a matrix that cannot be inverted leaves the vertices.
  Local,
  // Kept where the file stores them, for files without keyframer nodes, drawn once under the root.
  Stored,
};

// Fills the mesh from the file's, without its material.
void buildMesh(const RawObject& object, const RawMesh& raw, MeshSpace space, Mesh& mesh);

}  // namespace demo
