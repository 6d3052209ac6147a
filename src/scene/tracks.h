#pragma once
// Keyframe tracks of scene nodes: Kochanek–Bartels (tension, continuity, bias) Hermite splines for
// positions, scales, colours (vector tracks) and field of view and roll (scalar tracks), absolute
// rotations interpolated by slerp (rotation tracks). Tangents are computed once when a track is
// built; evaluating one searches its keys and allocates nothing.

#include <cstdint>
#include <span>
#include <vector>

#include "scene/keys.h"
#include "scene/quat.h"
#include "scene/vec3.h"

namespace demo {

// A built key: the file's key (frame, tension, continuity, bias, value) and its tangents.
struct VectorTrackKey : VectorKey {
  Vec3 inTangent;
  Vec3 outTangent;
};

struct ScalarTrackKey : ScalarKey {
  float inTangent = 0.0f;
  float outTangent = 0.0f;
};

struct RotationTrackKey {
  uint32_t frame = 0;
  Quat rotation;  // absolute: the product of this key's and all earlier keys' rotations
};

// Keys ascend strictly by frame. A track without keys is what a node without that track has.
struct VectorTrack {
  std::vector<VectorTrackKey> keys;
};
struct ScalarTrack {
  std::vector<ScalarTrackKey> keys;
};
struct RotationTrack {
  std::vector<RotationTrackKey> keys;
};

// The builds take the keys in file order. Frames that do not ascend are put in order (a stable
// sort) and a key whose frame repeats an earlier key's is dropped, so that no tangent or
// evaluation divides by a zero frame span.
VectorTrack buildVectorTrack(std::span<const VectorKey> keys);
// As the vector build, but an inner key's tangents are scaled by its frame spans without the
// vector build's factor 2: with evenly spaced keys they come out half as long.
ScalarTrack buildScalarTrack(std::span<const ScalarKey> keys);
// Each file key is a rotation relative to the previous one; the track holds the running products
// (new key on the left, renormalised). A key whose axis is shorter than 1e-6 adds no rotation.
RotationTrack buildRotationTrack(std::span<const RotationKey> keys);

// Values at a frame. Before the first key the first key's value, from the last key on the last
// key's value, on a key exactly that key's value. A track without keys gives (0, 0, 0), 0 and the
// identity.
Vec3 evalVector(const VectorTrack& track, float frame);
float evalScalar(const ScalarTrack& track, float frame);
Quat evalRotation(const RotationTrack& track, float frame);

}  // namespace demo
