#include "scene/mesh.h"

#include <cstring>

#include "gfx/device_layer.h"
#include "scene/material.h"
#include "scene/matrix.h"

namespace demo {

namespace {

constexpr D3DMATERIAL8 WireMaterial = {{1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 0, 0}, {0, 0, 0, 0}, 0};

Matrix matrixOf(const RawMesh& raw) {
  Matrix m;
  std::memcpy(m.m, raw.matrix, sizeof m.m);
  return m;
}

// Adds each face's unit normal to its three vertices, then makes the sums unit length. A face
// without area adds nothing, and a vertex that only such faces touch keeps a zero normal.
void computeNormals(Mesh& mesh) {
  std::vector<Vec3> sums(mesh.vertices.size());
  const auto position = [&](uint16_t i) {
    const VertexNormalTex& v = mesh.vertices[i];
    return Vec3{v.x, v.y, v.z};
  };
  for (size_t f = 0; f < mesh.indices.size(); f += 3) {
    const uint16_t i0 = mesh.indices[f], i1 = mesh.indices[f + 1], i2 = mesh.indices[f + 2];
    const Vec3 p0 = position(i0);
    const Vec3 n = normalised(cross(position(i1) - p0, position(i2) - p0), Vec3{});
    sums[i0] = sums[i0] + n;
    sums[i1] = sums[i1] + n;
    sums[i2] = sums[i2] + n;
  }
  for (size_t i = 0; i < sums.size(); ++i) {
    const Vec3 n = normalised(sums[i], Vec3{});
    mesh.vertices[i].nx = n.x, mesh.vertices[i].ny = n.y, mesh.vertices[i].nz = n.z;
  }
}

// A new run wherever a face's wrap flags (bit 3 in u, bit 4 in v) differ from the run's.
void buildRuns(const RawMesh& raw, Mesh& mesh) {
  for (size_t f = 0; f < raw.faces.size(); ++f) {
    const uint32_t flags = raw.faces[f].flags;
    const uint32_t wrap = (flags >> 3 & 1) | (flags >> 4 & 1) << 1;
    if (mesh.runs.empty() || mesh.runs.back().wrap != wrap)
      mesh.runs.push_back({wrap, static_cast<int32_t>(f), 0});
    ++mesh.runs.back().count;
  }
}

}  // namespace

void buildMesh(const RawObject& object, const RawMesh& raw, MeshSpace space, Mesh& mesh) {
  std::memcpy(mesh.name, object.name.data(), sizeof mesh.name);
  mesh.flags = 0;
  Matrix inverse = identityMatrix();
  if (space == MeshSpace::Local) {
    // A singular or absent matrix gives the identity: the vertices stay as stored.
    affineInverse(matrixOf(raw), inverse);
    if (determinant3x3(inverse) < 0) {
      for (int row = 0; row < 4; ++row) inverse(row, 0) = -inverse(row, 0);
      mesh.mirrored = true;
    }
  }
  mesh.vertices.resize(raw.vertices.size());
  for (size_t i = 0; i < raw.vertices.size(); ++i) {
    const Vec3 p = space == MeshSpace::Local ? transformPoint(raw.vertices[i], inverse) : raw.vertices[i];
    VertexNormalTex& v = mesh.vertices[i];
    v = {p.x, p.y, p.z, 0, 0, 0, 0, 0};
    if (raw.hasMapping) v.u = raw.uvs[i][0], v.v = 1.0f - raw.uvs[i][1];
  }
  mesh.faceCount = static_cast<int32_t>(raw.faces.size());
  mesh.indices.resize(raw.faces.size() * 3);
  // The reader stored each face as a, c, b; a mirrored mesh turns back to the file's a, b, c.
  for (size_t f = 0; f < raw.faces.size(); ++f) {
    const uint16_t* slot = raw.faces[f].index;
    uint16_t* out = &mesh.indices[f * 3];
    out[0] = slot[0];
    out[1] = mesh.mirrored ? slot[2] : slot[1];
    out[2] = mesh.mirrored ? slot[1] : slot[2];
  }
  computeNormals(mesh);
  buildRuns(raw, mesh);
}

void Mesh::drawRuns(RenderDevice& device) const {
  const auto count = static_cast<uint32_t>(vertices.size());
  for (const FaceRun& run : runs) {
    device.SetRenderState(D3DRS_WRAP0, run.wrap);
    device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, count, static_cast<uint32_t>(run.count),
                                  &indices[size_t(run.firstFace) * 3], D3DFMT_INDEX16, vertices.data(),
                                  sizeof(VertexNormalTex));
  }
}

void Mesh::draw(SceneDraw& pass) {
  if (faceCount == 0 || vertices.empty()) return;
  DeviceLayer& layer = pass.layer;
  RenderDevice& device = *layer.device();
  if (pass.solidAlpha != 0.0f) {
    material->apply(pass);
    device.SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    drawRuns(device);
  }
  if (pass.wireAlpha != 0.0f) {
    // White and lit, at the wire alpha; culling and depth writing stay as the solid pass left them.
    layer.setAlphaScale(pass.wireAlpha);
    layer.bindTexture(nullptr);
    device.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    layer.setMaterial(WireMaterial);
    device.SetRenderState(D3DRS_FILLMODE, D3DFILL_WIREFRAME);
    drawRuns(device);
  }
}

}  // namespace demo
