#include "writers/3ds_writer.h"

#include <cstring>
#include <stdexcept>

namespace demo {

namespace {

// An id none of the readers knows, and a body that would be misread if it were not skipped.
constexpr uint16_t UnknownChunk = 0x7F7F;

void unknown(ChunkWriter& out, bool wanted) {
  if (wanted) out.chunk(UnknownChunk, {0x10, 0x00, 0x0C, 0x00, 0x00, 0x00, 0xFF, 0xFF});
}

void writeColour(ChunkWriter& out, uint16_t id, const Float3& colour, bool bytes, bool unknownChunks) {
  out.begin(id);
  unknown(out, unknownChunks);
  if (bytes) {
    out.begin(0x0011);
    for (float c : colour) out.u8(static_cast<uint8_t>(c * 255.0f + 0.5f));
  } else {
    out.begin(0x0010);
    out.floats({colour[0], colour[1], colour[2]});
  }
  out.end();
  out.end();
}

void writePercent(ChunkWriter& out, uint16_t id, const std::optional<float>& percent, bool asFloat) {
  if (!percent) return;
  out.begin(id);
  out.begin(asFloat ? 0x0031 : 0x0030);
  if (asFloat)
    out.f32(*percent);
  else
    out.u16(static_cast<uint16_t>(*percent + 0.5f));
  out.end();
  out.end();
}

// As exporters write a map: its strength, then the file name.
void writeMap(ChunkWriter& out, uint16_t id, const std::string& name, bool unknownChunks) {
  if (name.empty()) return;
  out.begin(id);
  out.begin(0x0030);
  out.u16(100);
  out.end();
  unknown(out, unknownChunks);
  out.begin(0xA300);
  out.text(name);
  out.end();
  out.end();
}

void writeCamera(ChunkWriter& out, const Camera3ds& camera) {
  out.begin(0x4000);
  out.text(camera.name);
  out.begin(0x4700);
  out.floats({camera.position[0], camera.position[1], camera.position[2], camera.target[0], camera.target[1],
              camera.target[2], camera.bank, camera.lens});
  out.begin(0x4720);  // camera ranges, not read
  out.floats({1, 1000});
  out.end();
  out.end();
  out.end();
}

void writeLight(ChunkWriter& out, const Light3ds& light, bool unknownChunks) {
  out.begin(0x4000);
  out.text(light.name);
  out.begin(0x4600);
  out.floats({light.position[0], light.position[1], light.position[2]});
  unknown(out, unknownChunks);
  if (light.colour) {
    out.begin(light.colourBytes ? 0x0011 : 0x0010);
    if (light.colourBytes)
      for (float c : *light.colour) out.u8(static_cast<uint8_t>(c * 255.0f + 0.5f));
    else
      out.floats({(*light.colour)[0], (*light.colour)[1], (*light.colour)[2]});
    out.end();
  }
  if (light.spotTarget) {
    out.begin(0x4610);
    out.floats({(*light.spotTarget)[0], (*light.spotTarget)[1], (*light.spotTarget)[2], light.hotspot,
                light.falloff});
    out.end();
  }
  if (light.outerRange) {
    out.begin(0x465A);
    out.f32(*light.outerRange);
    out.end();
  }
  if (light.multiplier) {
    out.begin(0x465B);
    out.f32(*light.multiplier);
    out.end();
  }
  out.end();
  out.end();
}

}  // namespace

void ChunkWriter::begin(uint16_t id) {
  open_.push_back(bytes.size());
  u16(id);
  u32(0);
}

void ChunkWriter::end() {
  if (open_.empty()) throw std::logic_error("ChunkWriter::end without begin");
  end(static_cast<uint32_t>(bytes.size() - open_.back()));
}

void ChunkWriter::end(uint32_t length) {
  if (open_.empty()) throw std::logic_error("ChunkWriter::end without begin");
  const size_t at = open_.back() + 2;
  open_.pop_back();
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(length >> (8 * i));
}

void ChunkWriter::u16(uint16_t v) {
  bytes.push_back(static_cast<uint8_t>(v));
  bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void ChunkWriter::u32(uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ChunkWriter::f32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, 4);
  u32(bits);
}

void ChunkWriter::floats(std::initializer_list<float> values) {
  for (float v : values) f32(v);
}

void ChunkWriter::text(const std::string& s) {
  bytes.insert(bytes.end(), s.begin(), s.end());
  bytes.push_back(0);
}

void ChunkWriter::chunk(uint16_t id, const std::vector<uint8_t>& body) {
  begin(id);
  raw(body);
  end();
}

void writeMesh(ChunkWriter& out, const Mesh3ds& mesh, bool unknownChunks) {
  out.begin(0x4000);
  out.text(mesh.name);
  unknown(out, unknownChunks);
  out.begin(0x4100);
  unknown(out, unknownChunks);
  out.begin(0x4110);
  out.u16(static_cast<uint16_t>(mesh.vertices.size()));
  for (const Float3& v : mesh.vertices) out.floats({v[0], v[1], v[2]});
  out.end();
  if (mesh.uvs) {
    out.begin(0x4140);
    out.u16(static_cast<uint16_t>(mesh.uvs->size()));
    for (const auto& uv : *mesh.uvs) out.floats({uv[0], uv[1]});
    out.end();
  }
  if (mesh.matrix) {
    out.begin(0x4160);
    for (const Float3& row : *mesh.matrix) out.floats({row[0], row[1], row[2]});
    out.end();
  }
  out.begin(0x4120);
  out.u16(static_cast<uint16_t>(mesh.faces.size()));
  for (const Face3ds& f : mesh.faces) {
    out.u16(f.a);
    out.u16(f.b);
    out.u16(f.c);
    out.u16(f.flags);
  }
  unknown(out, unknownChunks);
  for (const FaceGroup3ds& group : mesh.groups) {
    out.begin(0x4130);
    out.text(group.material);
    out.u16(static_cast<uint16_t>(group.faces.size()));
    for (uint16_t face : group.faces) out.u16(face);
    out.end();
  }
  if (mesh.smoothing) {
    out.begin(0x4150);
    for (uint32_t word : *mesh.smoothing) out.u32(word);
    out.end();
  }
  out.end();
  out.end();
  out.end();
}

void writeMaterial(ChunkWriter& out, const Material3ds& m, bool unknownChunks) {
  out.begin(0xAFFF);
  out.begin(0xA000);
  out.text(m.name);
  out.end();
  unknown(out, unknownChunks);
  writeColour(out, 0xA010, m.ambient, m.colourBytes, unknownChunks);
  writeColour(out, 0xA020, m.diffuse, m.colourBytes, unknownChunks);
  writeColour(out, 0xA030, m.specular, m.colourBytes, unknownChunks);
  writePercent(out, 0xA040, m.shininess, m.percentFloats);
  writePercent(out, 0xA050, m.transparency, m.percentFloats);
  writePercent(out, 0xA084, m.selfIllumination, m.percentFloats);
  writeMap(out, 0xA200, m.texture, unknownChunks);
  writeMap(out, 0xA210, m.opacity, unknownChunks);
  writeMap(out, 0xA220, m.reflection, unknownChunks);
  out.end();
}

void writeTrack(ChunkWriter& out, uint16_t id, const Track3ds& track) {
  out.begin(id);
  out.u16(track.flags);
  out.u32(0);
  out.u32(0);
  out.u32(track.keyCount.value_or(static_cast<uint32_t>(track.keys.size())));
  for (const Key3ds& key : track.keys) {
    out.u32(key.frame);
    const std::optional<float>* spline[5] = {&key.tension, &key.continuity, &key.bias, &key.easeTo, &key.easeFrom};
    uint16_t flags = 0;
    for (int bit = 0; bit < 5; ++bit)
      if (spline[bit]->has_value()) flags |= static_cast<uint16_t>(1u << bit);
    out.u16(flags);
    for (const auto* value : spline)
      if (value->has_value()) out.f32(**value);
    for (float v : key.value) out.f32(v);
  }
  out.end();
}

void writeNode(ChunkWriter& out, const Node3ds& node, bool unknownChunks) {
  out.begin(node.chunk);
  if (node.id) {
    out.begin(0xB030);
    out.u16(*node.id);
    out.end();
  }
  out.begin(0xB010);
  out.text(node.name);
  out.u16(0x4000);
  out.u16(0);
  out.u16(node.parent);
  out.end();
  unknown(out, unknownChunks);
  if (node.pivot) {
    out.begin(0xB013);
    out.floats({(*node.pivot)[0], (*node.pivot)[1], (*node.pivot)[2]});
    out.end();
  }
  for (const auto& [id, track] : node.tracks) writeTrack(out, id, track);
  out.end();
}

std::vector<uint8_t> write3ds(const Scene3ds& scene) {
  ChunkWriter out;
  out.begin(0x4D4D);
  out.begin(0x0002);  // format version, not read
  out.u32(3);
  out.end();
  unknown(out, scene.unknownChunks);
  out.begin(0x3D3D);
  out.begin(0x3D3E);  // editor version, not read
  out.u32(3);
  out.end();
  unknown(out, scene.unknownChunks);
  for (const Material3ds& material : scene.materials) writeMaterial(out, material, scene.unknownChunks);
  for (const Mesh3ds& mesh : scene.meshes) writeMesh(out, mesh, scene.unknownChunks);
  for (const Camera3ds& camera : scene.cameras) writeCamera(out, camera);
  for (const Light3ds& light : scene.lights) writeLight(out, light, scene.unknownChunks);
  out.end();
  if (scene.segment || !scene.nodes.empty()) {
    out.begin(0xB000);
    unknown(out, scene.unknownChunks);
    if (scene.segment) {
      out.begin(0xB008);
      out.u32(scene.segment->first);
      out.u32(scene.segment->second);
      out.end();
    }
    for (const Node3ds& node : scene.nodes) writeNode(out, node, scene.unknownChunks);
    out.end();
  }
  out.end();
  out.raw(scene.trailing);
  return std::move(out.bytes);
}

Key3ds key3(uint32_t frame, float x, float y, float z) { return {frame, {}, {}, {}, {}, {}, {x, y, z}}; }
Key3ds key1(uint32_t frame, float value) { return {frame, {}, {}, {}, {}, {}, {value}}; }
Key3ds rotationKey(uint32_t frame, float angle, float x, float y, float z) {
  return {frame, {}, {}, {}, {}, {}, {angle, x, y, z}};
}

}  // namespace demo
