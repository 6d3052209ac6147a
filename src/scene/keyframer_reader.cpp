// The keyframer: the animation segment and the nodes with their key tracks.

#include <type_traits>
#include <utility>

#include "scene/scene_reader_steps.h"

namespace demo {

namespace {

constexpr uint16_t SegmentChunk = 0xB008;
constexpr uint16_t FirstNodeChunk = 0xB002, LastNodeChunk = 0xB007;
constexpr uint16_t NodeHeaderChunk = 0xB010;
constexpr uint16_t PivotChunk = 0xB013;
constexpr uint16_t PositionTrack = 0xB020, RotationTrack = 0xB021, ScaleTrack = 0xB022;
constexpr uint16_t FovTrack = 0xB023, RollTrack = 0xB024, ColourTrack = 0xB025;
constexpr uint16_t HotspotTrack = 0xB027, FalloffTrack = 0xB028;

// Node ids are 16 bits and 0xFFFF stands for the root.
constexpr size_t MaxNodes = 0xFFFF;

RawNodeKind kindOfChunk(uint16_t id) {
  switch (id) {
    case 0xB002: return RawNodeKind::Object;
    case 0xB003: return RawNodeKind::Camera;
    case 0xB004: return RawNodeKind::CameraTarget;
    case 0xB005: return RawNodeKind::Light;
    case 0xB006: return RawNodeKind::LightTarget;
    default: return RawNodeKind::Spotlight;  // 0xB007
  }
}

// The key header: frame (low 16 bits used), spline flags, then one float per set flag bit in
// ascending order, of which bits 0..2 are tension, continuity and bias (the others, ease-to and
// ease-from among them, are dropped).
bool readKeyHeader(ChunkReader& in, uint32_t& frame, float (&tcb)[3]) {
  uint32_t storedFrame;
  uint16_t spline;
  if (!in.u32(storedFrame) || !in.u16(spline)) return false;
  frame = storedFrame & 0xFFFF;
  tcb[0] = tcb[1] = tcb[2] = 0.0f;
  for (int bit = 0; bit < 16; ++bit) {
    if (!(spline & (1u << bit))) continue;
    float value;
    if (!in.f32(value)) return false;
    if (bit < 3) tcb[bit] = value;
  }
  return true;
}

bool readKey(ChunkReader& in, VectorKey& key, bool exchange) {
  float tcb[3];
  if (!readKeyHeader(in, key.frame, tcb) || !in.vec3(key.value)) return false;
  key.tension = tcb[0], key.continuity = tcb[1], key.bias = tcb[2];
  if (exchange) key.value = exchangeYZ(key.value);
  return true;
}

bool readKey(ChunkReader& in, ScalarKey& key, bool) {
  float tcb[3];
  if (!readKeyHeader(in, key.frame, tcb) || !in.f32(key.value)) return false;
  key.tension = tcb[0], key.continuity = tcb[1], key.bias = tcb[2];
  return true;
}

// Rotation keys drop their tension, continuity and bias.
bool readKey(ChunkReader& in, RotationKey& key, bool) {
  float tcb[3];
  if (!readKeyHeader(in, key.frame, tcb) || !in.f32(key.angle) || !in.vec3(key.axis)) return false;
  key.axis = exchangeYZ(key.axis);
  return true;
}

template <typename Key>
constexpr uint32_t valueBytes() {
  if constexpr (std::is_same_v<Key, VectorKey>) return 12;
  else if constexpr (std::is_same_v<Key, RotationKey>) return 16;
  else return 4;
}

// Flags (2 bytes), 8 bytes skipped, the key count (only its low 16 bits), then the keys. A second
// track of the same kind in a node replaces the first.
template <typename Key>
bool readTrack(ChunkReader& in, RawTrack<Key>& track, bool exchange = false) {
  uint32_t storedCount;
  if (!in.skip(10) || !in.u32(storedCount)) return false;
  const uint32_t count = storedCount & 0xFFFF;
  const uint32_t smallestKey = 6 + valueBytes<Key>();
  if (uint64_t{count} * smallestKey > in.remaining())
    return in.fail("%u keys do not fit in %u bytes", count, in.remaining());
  std::vector<Key> keys(count);
  for (Key& key : keys)
    if (!readKey(in, key, exchange)) return false;
  track.present = true;
  track.keys = std::move(keys);
  return true;
}

// The name, two words of flags, then the parent's index.
bool readNodeHeader(ChunkReader& in, RawNode& node) {
  return in.name(node.name.data(), 32) && in.skip(4) && in.u16(node.parent);
}

// Each kind reads its own chunks; the others are skipped.
bool readNodeChunk(ChunkReader& in, uint16_t id, RawNode& node) {
  const RawNodeKind kind = node.kind;
  const bool object = kind == RawNodeKind::Object;
  const bool camera = kind == RawNodeKind::Camera;
  const bool light = kind == RawNodeKind::Light || kind == RawNodeKind::Spotlight;
  const bool spot = kind == RawNodeKind::Spotlight;
  switch (id) {
    case NodeHeaderChunk: return readNodeHeader(in, node);
    case PositionTrack: return readTrack(in, node.position, true);
    case PivotChunk:
      if (!object) return true;
      if (!in.vec3(node.pivot)) return false;
      node.pivot = exchangeYZ(node.pivot);
      return true;
    case RotationTrack: return !object || readTrack(in, node.rotation);
    case ScaleTrack: return !object || readTrack(in, node.scale, true);
    case FovTrack: return !camera || readTrack(in, node.fov);
    case RollTrack: return !camera || readTrack(in, node.roll);
    case ColourTrack: return !light || readTrack(in, node.colour);
    case HotspotTrack: return !spot || readTrack(in, node.hotspot);
    case FalloffTrack: return !spot || readTrack(in, node.falloff);
    default: return true;
  }
}

bool readNode(ChunkReader& in, uint32_t end, uint16_t id, RawScene& scene) {
  if (scene.nodes.size() >= MaxNodes) return in.fail("more than %zu keyframer nodes", MaxNodes);
  RawNode node;
  node.index = static_cast<uint16_t>(scene.nodes.size());
  node.kind = kindOfChunk(id);
  if (!in.walk(end, [&](uint16_t childId, uint32_t) { return readNodeChunk(in, childId, node); })) return false;
  scene.nodes.push_back(std::move(node));
  return true;
}

}  // namespace

bool readKeyframer(ChunkReader& in, uint32_t end, RawScene& scene) {
  return in.walk(end, [&](uint16_t id, uint32_t chunkEnd) {
    if (id == SegmentChunk) {
      scene.hasSegment = true;
      return in.u32(scene.firstFrame) && in.u32(scene.lastFrame);
    }
    if (id >= FirstNodeChunk && id <= LastNodeChunk) return readNode(in, chunkEnd, id, scene);
    return true;
  });
}

}  // namespace demo
