#include "scene/tracks.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace demo {

namespace {

// The file's keys in strictly ascending frame order: a stable sort keeps file order among equal
// frames, and of those only the first stays.
template <typename Key>
std::vector<Key> orderedKeys(std::span<const Key> keys) {
  std::vector<Key> ordered(keys.begin(), keys.end());
  std::stable_sort(ordered.begin(), ordered.end(), [](const Key& a, const Key& b) { return a.frame < b.frame; });
  const auto repeated =
      std::unique(ordered.begin(), ordered.end(), [](const Key& a, const Key& b) { return a.frame == b.frame; });
  ordered.erase(repeated, ordered.end());
  return ordered;
}

// Tangents of keys far beyond any scene's range may overflow; they are held at the largest float
// so that evaluation never meets an infinity (and never makes a NaN of one).
float bounded(float v) { return std::isnan(v) ? 0.0f : std::clamp(v, -FLT_MAX, FLT_MAX); }
Vec3 bounded(const Vec3& v) { return {bounded(v.x), bounded(v.y), bounded(v.z)}; }

// Kochanek–Bartels tangents of every key, the value type being float or Vec3. spanFactor is the
// factor of the frame-span adjustment of inner keys: 2 for vector tracks, 1 for scalar tracks.
template <typename Built, typename Key>
std::vector<Built> splineKeys(std::span<const Key> fileKeys, float spanFactor) {
  const std::vector<Key> keys = orderedKeys(fileKeys);
  std::vector<Built> built(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const Key& k = keys[i];
    const bool hasPrevious = i > 0;
    const bool hasNext = i + 1 < keys.size();
    using Value = decltype(k.value);
    const Value before = hasPrevious ? k.value - keys[i - 1].value : Value{};
    const Value after = hasNext ? keys[i + 1].value - k.value : Value{};
    const Value g1 = hasPrevious ? before : after;
    const Value g2 = hasNext ? after : before;
    const float t = k.tension, c = k.continuity, b = k.bias;
    const float half = (1.0f - t) / 2.0f;
    Value in = half * ((1.0f + b) * (1.0f - c) * g1 + (1.0f - b) * (1.0f + c) * g2);
    Value out = half * ((1.0f + b) * (1.0f + c) * g1 + (1.0f - b) * (1.0f - c) * g2);
    if (hasPrevious && hasNext) {
      const auto spanBefore = static_cast<float>(k.frame - keys[i - 1].frame);
      const auto spanAfter = static_cast<float>(keys[i + 1].frame - k.frame);
      const auto spanAround = static_cast<float>(keys[i + 1].frame - keys[i - 1].frame);
      in = in * (spanFactor * spanBefore / spanAround);
      out = out * (spanFactor * spanAfter / spanAround);
    }
    built[i] = {k, bounded(in), bounded(out)};
  }
  return built;
}

}  // namespace

VectorTrack buildVectorTrack(std::span<const VectorKey> keys) { return {splineKeys<VectorTrackKey>(keys, 2.0f)}; }

ScalarTrack buildScalarTrack(std::span<const ScalarKey> keys) { return {splineKeys<ScalarTrackKey>(keys, 1.0f)}; }

RotationTrack buildRotationTrack(std::span<const RotationKey> fileKeys) {
  const std::vector<RotationKey> keys = orderedKeys(fileKeys);
  RotationTrack track;
  track.keys.reserve(keys.size());
  Quat running;
  for (const RotationKey& k : keys) {
    // Renormalised at every key: a long track's products would otherwise drift from unit length,
    // and quatToMatrix of a drifted rotation scales the node.
    running = normalised(axisAngle(k.axis, k.angle) * running);
    track.keys.push_back({k.frame, running});
  }
  return track;
}

}  // namespace demo
