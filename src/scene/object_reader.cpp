// Named objects: triangle meshes, cameras and lights.

#include <utility>

#include "scene/scene_reader_steps.h"

namespace demo {

namespace {

constexpr uint16_t MeshChunk = 0x4100;
constexpr uint16_t VertexListChunk = 0x4110;
constexpr uint16_t FaceListChunk = 0x4120;
constexpr uint16_t FaceGroupChunk = 0x4130;
constexpr uint16_t MappingChunk = 0x4140;
constexpr uint16_t MeshMatrixChunk = 0x4160;
constexpr uint16_t LightChunk = 0x4600;
constexpr uint16_t SpotlightChunk = 0x4610;
constexpr uint16_t OuterRangeChunk = 0x465A;
constexpr uint16_t MultiplierChunk = 0x465B;
constexpr uint16_t ColourFloatChunk = 0x0010;
constexpr uint16_t CameraChunk = 0x4700;

// The count of a list whose entries take `entryBytes` each; fails before anything is allocated when
// the chunk cannot hold them.
bool readCount(ChunkReader& in, uint32_t entryBytes, const char* what, uint32_t& count) {
  uint16_t stored;
  if (!in.u16(stored)) return false;
  count = stored;
  if (uint64_t{count} * entryBytes > in.remaining())
    return in.fail("%u %s do not fit in %u bytes", count, what, in.remaining());
  return true;
}

// The vertex list and the mapping coordinates share one count: the second to arrive must agree.
bool agreeOnVertexCount(ChunkReader& in, RawMesh& mesh, uint32_t count, const char* what) {
  if (mesh.vertexCount != 0 && mesh.vertexCount != count)
    return in.fail("%u %s, but the mesh has %u vertices", count, what, mesh.vertexCount);
  mesh.vertexCount = count;
  return true;
}

bool readVertices(ChunkReader& in, RawMesh& mesh, bool& seen) {
  if (seen) return true;  // a second list in one mesh: the first one stands
  seen = true;
  uint32_t count;
  if (!readCount(in, 12, "vertices", count) || !agreeOnVertexCount(in, mesh, count, "vertices")) return false;
  mesh.vertices.resize(count);
  for (Vec3& v : mesh.vertices) {
    if (!in.vec3(v)) return false;
    v = exchangeYZ(v);
  }
  return true;
}

bool readMapping(ChunkReader& in, RawMesh& mesh) {
  if (mesh.hasMapping) return true;
  mesh.hasMapping = true;
  uint32_t count;
  if (!readCount(in, 8, "mapping coordinates", count) ||
      !agreeOnVertexCount(in, mesh, count, "mapping coordinates"))
    return false;
  mesh.uvs.resize(count);
  for (auto& uv : mesh.uvs)
    if (!in.f32(uv[0]) || !in.f32(uv[1])) return false;
  return true;
}

bool readFaceGroup(ChunkReader& in, RawMesh& mesh) {
  RawFaceGroup group;
  uint32_t count;
  if (!in.name(group.materialName.data(), 32) || !readCount(in, 2, "face numbers", count)) return false;
  group.faces.resize(count);
  for (uint16_t& face : group.faces)
    if (!in.u16(face)) return false;
  mesh.faceGroups.push_back(std::move(group));
  return true;
}

bool readFaces(ChunkReader& in, uint32_t end, RawMesh& mesh, bool& seen) {
  if (seen) return true;
  seen = true;
  uint32_t count;
  if (!readCount(in, 8, "faces", count)) return false;
  mesh.faces.resize(count);
  for (RawFace& face : mesh.faces) {
    uint16_t a, b, c;
    if (!in.u16(a) || !in.u16(b) || !in.u16(c) || !in.u16(face.flags)) return false;
    face.index[0] = a;
    face.index[1] = c;
    face.index[2] = b;
  }
  // The material groups follow the faces inside the face chunk; smoothing groups are skipped.
  return in.walk(end, [&](uint16_t id, uint32_t) { return id != FaceGroupChunk || readFaceGroup(in, mesh); });
}

// Rows X axis, Y axis, Z axis, origin of the file become rows 0, 2, 1, 3, each with its second and
// third value exchanged: the matrix of the exchanged space.
bool readMeshMatrix(ChunkReader& in, RawMesh& mesh) {
  constexpr int RowOf[4] = {0, 2, 1, 3};
  for (int fileRow = 0; fileRow < 4; ++fileRow) {
    Vec3 v;
    if (!in.vec3(v)) return false;
    const Vec3 e = exchangeYZ(v);
    float* row = mesh.matrix[RowOf[fileRow]];
    row[0] = e.x, row[1] = e.y, row[2] = e.z, row[3] = fileRow == 3 ? 1.0f : 0.0f;
  }
  mesh.hasMatrix = true;
  return true;
}

// The lists must agree, every index must name a stored vertex and every group face a stored face, whatever order the
// lists came in.
bool checkMeshIndices(ChunkReader& in, const RawMesh& mesh) {
  // A list of 0 entries and one of n entries agree on no count; neither list may stand in for the other.
  if (mesh.vertices.size() != mesh.vertexCount || (mesh.hasMapping && mesh.uvs.size() != mesh.vertexCount))
    return in.fail("%zu vertices and %zu mapping coordinates do not agree", mesh.vertices.size(), mesh.uvs.size());
  for (size_t f = 0; f < mesh.faces.size(); ++f)
    for (uint16_t index : mesh.faces[f].index)
      if (index >= mesh.vertexCount)
        return in.fail("face %zu uses vertex %u of %u", f, index, mesh.vertexCount);
  for (const RawFaceGroup& group : mesh.faceGroups)
    for (uint16_t face : group.faces)
      if (face >= mesh.faces.size())
        return in.fail("face group \"%s\" names face %u of %zu", group.materialName.data(), face, mesh.faces.size());
  return true;
}

bool readMesh(ChunkReader& in, uint32_t end, RawMesh& mesh) {
  bool verticesSeen = false, facesSeen = false;
  const bool walked = in.walk(end, [&](uint16_t id, uint32_t chunkEnd) {
    switch (id) {
      case VertexListChunk: return readVertices(in, mesh, verticesSeen);
      case MappingChunk: return readMapping(in, mesh);
      case FaceListChunk: return readFaces(in, chunkEnd, mesh, facesSeen);
      case MeshMatrixChunk: return readMeshMatrix(in, mesh);
      default: return true;
    }
  });
  return walked && checkMeshIndices(in, mesh);
}

bool readLight(ChunkReader& in, uint32_t end, RawLight& light) {
  if (!in.vec3(light.position)) return false;
  const bool walked = in.walk(end, [&](uint16_t id, uint32_t) {
    switch (id) {
      case ColourFloatChunk:
        light.present |= RawLight::Colour;
        return in.f32(light.colour[0]) && in.f32(light.colour[1]) && in.f32(light.colour[2]);
      case SpotlightChunk: light.present |= RawLight::SpotTarget; return in.vec3(light.spotTarget);
      case OuterRangeChunk: light.present |= RawLight::OuterRange; return in.f32(light.outerRange);
      case MultiplierChunk: light.present |= RawLight::Multiplier; return in.f32(light.multiplier);
      default: return true;
    }
  });
  if (!walked) return false;
  light.position = exchangeYZ(light.position);
  light.spotTarget = exchangeYZ(light.spotTarget);
  return true;
}

bool readCamera(ChunkReader& in, RawCamera& camera) {
  if (!in.vec3(camera.position) || !in.vec3(camera.target) || !in.f32(camera.bank) || !in.f32(camera.lens))
    return false;
  camera.position = exchangeYZ(camera.position);
  camera.target = exchangeYZ(camera.target);
  return true;
}

}  // namespace

bool readNamedObject(ChunkReader& in, uint32_t end, RawObject& object) {
  if (!in.name(object.name.data(), 32)) return false;
  return in.walk(end, [&](uint16_t id, uint32_t chunkEnd) {
    if (id != MeshChunk && id != LightChunk && id != CameraChunk) return true;
    // One geometry per object: a later mesh, light or camera chunk is skipped, so data read as one
    // kind is never taken for another.
    if (object.kind() != RawObjectKind::None) return true;
    if (id == MeshChunk) return readMesh(in, chunkEnd, object.data.emplace<RawMesh>());
    if (id == LightChunk) return readLight(in, chunkEnd, object.data.emplace<RawLight>());
    return readCamera(in, object.data.emplace<RawCamera>());
  });
}

}  // namespace demo
