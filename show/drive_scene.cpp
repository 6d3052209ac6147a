#include "drive_scene.h"

#include <algorithm>
#include <cmath>

#include "shapes.h"

namespace demo::show {

namespace {

constexpr float Pi = 3.14159265f;
constexpr uint32_t FramesPerRow = 10;
constexpr uint32_t FillStart = 56 * FramesPerRow;  // the snare fill: the last eight rows

// Units flown per frame: steady through the first chord, faster with each beat after it, and twice as
// fast again in the fill.
float speed(float frame) {
  const float cruise = 8.0f + 12.0f * std::clamp((frame - 160.0f) / 400.0f, 0.0f, 1.0f);
  return frame < FillStart ? cruise : cruise + 30.0f * (frame - FillStart) / 80.0f;
}

float distanceAt(uint32_t frame) {
  float z = 0.0f;
  for (uint32_t f = 0; f < frame; ++f) z += speed(static_cast<float>(f) + 0.5f);
  return z;
}

// The eye circles the axis at a radius that breathes once a chord.
P3 eyeAt(uint32_t frame) {
  const float f = static_cast<float>(frame);
  const float angle = f * 0.006f;
  const float radius = 150.0f + 90.0f * std::sin(f * Pi / 160.0f);
  return {radius * std::cos(angle), radius * std::sin(angle), distanceAt(frame)};
}

// It looks a second or so ahead, closer to the axis.
P3 targetAt(uint32_t frame) {
  const P3 ahead = eyeAt(frame + 80);
  return {ahead.x * 0.3f, ahead.y * 0.3f, ahead.z + 300.0f};
}

Key3ds positionKey(uint32_t frame, const P3& p) {
  const auto f = toFile(p);
  return key3(frame, f[0], f[1], f[2]);
}

template <typename Path>
Track3ds pathTrack(Path path) {
  Track3ds track;
  for (uint32_t frame = 0; frame <= DriveLastFrame; frame += 20) track.keys.push_back(positionKey(frame, path(frame)));
  return track;
}

}  // namespace

Scene3ds driveScene() {
  Scene3ds s;
  s.segment = {0, DriveLastFrame};
  const auto eye = [](uint32_t f) { return eyeAt(f); };
  const auto target = [](uint32_t f) { return targetAt(f); };
  s.cameras = {{"TunnelCam", toFile(eyeAt(0)), toFile(targetAt(0)), 0, 30}};
  Node3ds camera;
  camera.chunk = 0xB003;
  camera.name = "TunnelCam";
  // Roll in degrees: a sway on the chords, then one whole turn through the fill.
  camera.tracks = {{PositionTrack3ds, pathTrack(eye)},
                   {FovTrack3ds, {0, {key1(0, 60)}, {}}},
                   {RollTrack3ds,
                    {0, {key1(0, 0), key1(160, 25), key1(320, -20), key1(480, 15), key1(FillStart, 0),
                         key1(DriveLastFrame, 360)}, {}}}};
  Node3ds aim;
  aim.chunk = 0xB004;
  aim.name = "TunnelCam";
  aim.tracks = {{PositionTrack3ds, pathTrack(target)}};
  s.nodes = {camera, aim};
  return s;
}

}  // namespace demo::show
