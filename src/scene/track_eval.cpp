#include "scene/tracks.h"

#include <algorithm>

namespace demo {

namespace {

// Where a frame falls in a track that has keys: between `from` and `to` at fraction t, or on
// `from` alone (to is null) before the first key and from the last key on.
template <typename Key>
struct Segment {
  const Key* from;
  const Key* to;
  float t;
};

// The segment ends at the first key whose frame is greater than the frame. Keys ascend strictly, so
// a binary search finds the same key a walk from the first would, also on tracks keyed every frame.
template <typename Key>
Segment<Key> findSegment(const std::vector<Key>& keys, float frame) {
  if (frame < static_cast<float>(keys.front().frame)) return {&keys.front(), nullptr, 0.0f};
  const auto to = std::upper_bound(keys.begin(), keys.end(), frame,
                                   [](float f, const Key& key) { return f < static_cast<float>(key.frame); });
  if (to == keys.end()) return {&keys.back(), nullptr, 0.0f};
  const Key& from = *(to - 1);
  const float span = static_cast<float>(to->frame - from.frame);  // at least 1: frames ascend strictly
  return {&from, &*to, (frame - static_cast<float>(from.frame)) / span};
}

template <typename Value, typename Key>
Value hermite(const std::vector<Key>& keys, float frame) {
  if (keys.empty()) return Value{};
  const Segment<Key> s = findSegment(keys, frame);
  if (!s.to) return s.from->value;
  const float t = s.t, t2 = t * t, t3 = t2 * t;
  const float h1 = 2 * t3 - 3 * t2 + 1;
  const float h2 = 3 * t2 - 2 * t3;
  const float h3 = t3 - 2 * t2 + t;
  const float h4 = t3 - t2;
  return h1 * s.from->value + h2 * s.to->value + h3 * s.from->outTangent + h4 * s.to->inTangent;
}

}  // namespace

Vec3 evalVector(const VectorTrack& track, float frame) { return hermite<Vec3>(track.keys, frame); }

float evalScalar(const ScalarTrack& track, float frame) { return hermite<float>(track.keys, frame); }

Quat evalRotation(const RotationTrack& track, float frame) {
  if (track.keys.empty()) return {};
  const Segment<RotationTrackKey> s = findSegment(track.keys, frame);
  if (!s.to) return s.from->rotation;
  return slerp(s.from->rotation, s.to->rotation, s.t);
}

}  // namespace demo
