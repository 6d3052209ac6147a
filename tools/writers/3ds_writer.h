#pragma once
// Writes 3DS scene files, for tests, fuzz seeds and the built-in show: meshes with matrices, mapping
// coordinates, smoothing and face-material groups; materials with colours, percentages and the
// texture, reflection and opacity maps; cameras; lights with spotlight, range and multiplier; the
// keyframer segment and nodes of every kind with every track, keys with tension, continuity, bias and
// ease. Values are the file's own: z is up, as the format stores it (the engine exchanges y and z
// when it reads).
//
// The writer writes what it is given, also what the format forbids (indices beyond the vertices, key
// counts that differ from the keys written); ChunkWriter builds anything else chunk by chunk.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace demo {

// Chunks with their lengths filled in when they end.
class ChunkWriter {
 public:
  void begin(uint16_t id);
  // Closes the innermost open chunk with its true length, or with the given one (a lie).
  void end();
  void end(uint32_t length);
  void u8(uint8_t v) { bytes.push_back(v); }
  void u16(uint16_t v);
  void u32(uint32_t v);
  void f32(float v);
  void floats(std::initializer_list<float> values);
  void text(const std::string& s);  // with its terminating zero
  void raw(const std::vector<uint8_t>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
  // A whole chunk with a body of raw bytes.
  void chunk(uint16_t id, const std::vector<uint8_t>& body);

  std::vector<uint8_t> bytes;

 private:
  std::vector<size_t> open_;
};

using Float3 = std::array<float, 3>;

struct Face3ds {
  uint16_t a = 0, b = 0, c = 0;
  uint16_t flags = 0;  // bit 3 wrap in u, bit 4 wrap in v; bits 0..2 edge visibility
};

struct FaceGroup3ds {
  std::string material;
  std::vector<uint16_t> faces;
};

struct Mesh3ds {
  std::string name;
  std::vector<Float3> vertices;
  std::optional<std::vector<std::array<float, 2>>> uvs;
  std::vector<Face3ds> faces;
  std::vector<FaceGroup3ds> groups;
  std::optional<std::vector<uint32_t>> smoothing;  // one word per face, after the groups
  // X axis, Y axis, Z axis, origin; no matrix chunk when absent.
  std::optional<std::array<Float3, 4>> matrix = std::array<Float3, 4>{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}}};
};

struct Material3ds {
  std::string name;
  Float3 ambient{}, diffuse{}, specular{};
  bool colourBytes = false;  // colours as three bytes (0x0011) rather than floats (0x0010)
  // Percentages (0..100), written as a uint16 (0x0030) or, with percentFloats, a float (0x0031).
  std::optional<float> shininess, transparency, selfIllumination;
  bool percentFloats = false;
  std::string texture, reflection, opacity;  // map file names; empty for none
};

struct Camera3ds {
  std::string name;
  Float3 position{}, target{};
  float bank = 0, lens = 50;
};

struct Light3ds {
  std::string name;
  Float3 position{};
  std::optional<Float3> colour;
  bool colourBytes = false;  // the colour as bytes (0x0011) only
  std::optional<Float3> spotTarget;
  float hotspot = 30, falloff = 45;
  std::optional<float> outerRange, multiplier;
};

struct Key3ds {
  uint32_t frame = 0;  // the whole 32-bit field
  std::optional<float> tension, continuity, bias, easeTo, easeFrom;
  // Three values for position, scale and colour; one for fov, roll, hotspot and falloff; angle
  // (radians) and axis for rotation.
  std::vector<float> value;
};

struct Track3ds {
  uint16_t flags = 0;  // 0 single, 2 repeat, 3 loop
  std::vector<Key3ds> keys;
  std::optional<uint32_t> keyCount;  // the count field written, when it is to differ from the keys
};

// Track chunk ids.
enum : uint16_t {
  PositionTrack3ds = 0xB020,
  RotationTrack3ds = 0xB021,
  ScaleTrack3ds = 0xB022,
  FovTrack3ds = 0xB023,
  RollTrack3ds = 0xB024,
  ColourTrack3ds = 0xB025,
  HotspotTrack3ds = 0xB027,
  FalloffTrack3ds = 0xB028,
};

struct Node3ds {
  // 0xB002 object, 0xB003 camera, 0xB004 camera target, 0xB005 light, 0xB006 light target,
  // 0xB007 spotlight.
  uint16_t chunk = 0xB002;
  std::string name;
  uint16_t parent = 0xFFFF;
  std::optional<uint16_t> id;  // the node id chunk 0xB030, which the engine does not read
  std::optional<Float3> pivot;
  std::vector<std::pair<uint16_t, Track3ds>> tracks;  // in the order written
};

struct Scene3ds {
  // The named objects are written in this order: meshes, cameras, lights; materials before them.
  std::vector<Material3ds> materials;
  std::vector<Mesh3ds> meshes;
  std::vector<Camera3ds> cameras;
  std::vector<Light3ds> lights;
  std::optional<std::pair<uint32_t, uint32_t>> segment;
  std::vector<Node3ds> nodes;
  // A chunk of an id no reader knows, inside every chunk the engine walks where skipping is allowed:
  // the main, editor, keyframer, object, mesh, face, light, material, colour, map and node chunks.
  bool unknownChunks = false;
  std::vector<uint8_t> trailing;  // bytes behind the main chunk
};

std::vector<uint8_t> write3ds(const Scene3ds& scene);

// The parts, for files built chunk by chunk.
void writeMesh(ChunkWriter& out, const Mesh3ds& mesh, bool unknownChunks = false);
void writeMaterial(ChunkWriter& out, const Material3ds& material, bool unknownChunks = false);
void writeNode(ChunkWriter& out, const Node3ds& node, bool unknownChunks = false);
void writeTrack(ChunkWriter& out, uint16_t id, const Track3ds& track);

// Keys, for brevity.
Key3ds key3(uint32_t frame, float x, float y, float z);
Key3ds key1(uint32_t frame, float value);
Key3ds rotationKey(uint32_t frame, float angle, float x, float y, float z);

}  // namespace demo
