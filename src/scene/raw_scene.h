#pragma once
// What a 3DS file says, as the reader found it: named meshes, cameras and lights, materials, the
// animation segment and the keyframer nodes with their key tracks. The scene builder turns it into
// the drawable scene; sceneinfo prints it.
//
// Coordinates are the show's: every point or direction of the file has its second and third
// components exchanged (file x, y, z become x, z, y), every face its second and third index, and
// the mesh matrix is rearranged to match. Colours, percentages, angles and frames are as stored.
// Lists are in file order.

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

#include "scene/keys.h"
#include "scene/vec3.h"

namespace demo {

// Text fields hold at most N - 1 characters and are always terminated.
using Name32 = std::array<char, 32>;
using Name16 = std::array<char, 16>;

struct RawFace {
  uint16_t index[3] = {};  // a, c, b: the file's a, b, c with b and c exchanged
  uint16_t flags = 0;      // bit 3 wrap in u, bit 4 wrap in v
};

struct RawFaceGroup {
  Name32 materialName{};
  std::vector<uint16_t> faces;  // face numbers, each below the mesh's face count
};

struct RawMesh {
  uint32_t vertexCount = 0;  // shared by the vertex list and the mapping coordinates
  std::vector<Vec3> vertices;
  std::vector<std::array<float, 2>> uvs;  // u, v as stored
  bool hasMapping = false;
  std::vector<RawFace> faces;  // every index below vertexCount
  std::vector<RawFaceGroup> faceGroups;
  // Rows 0..3: the file's X axis, Z axis, Y axis and origin, each with its second and third value
  // exchanged; the fourth column 0, 0, 0, 1. All zeros when the file gives no matrix.
  float matrix[4][4] = {};
  bool hasMatrix = false;
};

struct RawCamera {
  Vec3 position;
  Vec3 target;
  float bank = 0.0f;  // degrees
  float lens = 0.0f;  // millimetres
};

struct RawLight {
  // Bits of `present`.
  static constexpr uint32_t SpotTarget = 1, Colour = 2, Multiplier = 4, OuterRange = 8;

  Vec3 position;
  uint32_t present = 0;
  Vec3 spotTarget;
  float colour[3] = {};  // red, green, blue as stored
  float multiplier = 0.0f;
  float outerRange = 0.0f;
};

enum class RawObjectKind : int32_t { None = 0, Mesh = 1, Camera = 2, Light = 3 };

struct RawObject {
  Name32 name{};
  // None for a named object without geometry; the scene leaves such objects out.
  std::variant<std::monostate, RawMesh, RawCamera, RawLight> data;

  RawObjectKind kind() const { return static_cast<RawObjectKind>(data.index()); }
};

struct RawMaterial {
  Name32 name{};
  float ambient[3] = {};
  float diffuse[3] = {};
  float specular[3] = {};
  // Percentages as fractions, clamped to 0..1.
  float shininess = 0.0f;
  float transparency = 0.0f;
  float selfIllumination = 0.0f;
  Name16 textureName{};  // file names as stored; empty when the map is absent
  Name16 reflectionName{};
  Name16 opacityName{};
};

// A key track; `present` tells a track chunk with no keys from no track chunk at all.
template <typename Key>
struct RawTrack {
  bool present = false;
  std::vector<Key> keys;
};

enum class RawNodeKind : int32_t {
  Object = 1,
  Camera = 2,
  CameraTarget = 3,
  Light = 4,
  Spotlight = 5,
  LightTarget = 6,
};

struct RawNode {
  static constexpr uint16_t NoParent = 0xFFFF;

  Name32 name{};
  uint16_t index = 0;  // position among the keyframer nodes of the file
  uint16_t parent = NoParent;
  RawNodeKind kind = RawNodeKind::Object;
  Vec3 pivot;  // object nodes
  // Only the tracks of the node's kind are read: object position, rotation, scale; camera position,
  // fov, roll; light position, colour; spotlight those and hotspot, falloff; targets position.
  RawTrack<VectorKey> position;
  RawTrack<RotationKey> rotation;
  RawTrack<VectorKey> scale;
  RawTrack<ScalarKey> fov;   // degrees
  RawTrack<ScalarKey> roll;  // degrees
  RawTrack<VectorKey> colour;
  RawTrack<ScalarKey> hotspot;
  RawTrack<ScalarKey> falloff;
};

struct RawScene {
  std::vector<RawObject> objects;
  std::vector<RawMaterial> materials;
  uint32_t firstFrame = 0;  // the animation segment; 0 and 0 without one
  uint32_t lastFrame = 0;
  bool hasSegment = false;
  std::vector<RawNode> nodes;
};

}  // namespace demo
