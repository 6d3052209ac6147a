#include "voyage_scene.h"

#include <cmath>

#include "shapes.h"

namespace demo::show {

namespace {

constexpr float Pi = 3.14159265f;
constexpr uint16_t Root = 0xFFFF;

Key3ds positionKey(uint32_t frame, const P3& p) {
  const auto f = toFile(p);
  return key3(frame, f[0], f[1], f[2]);
}

// A turn of `angle` radians about the engine-space axis, relative to the previous key.
Key3ds turnKey(uint32_t frame, float angle, const P3& axis) {
  const auto f = toFile(axis);
  return rotationKey(frame, angle, f[0], f[1], f[2]);
}

// Keys every `step` frames from `first` to `last`, each a position on the path at that frame.
template <typename Path>
Track3ds pathTrack(uint32_t first, uint32_t last, uint32_t step, Path path) {
  Track3ds track;
  for (uint32_t frame = first; frame <= last; frame += step) track.keys.push_back(positionKey(frame, path(frame)));
  return track;
}

// A steady spin: `turns` whole turns about the axis over the segment, in quarter-turn keys at most.
Track3ds spin(float turns, const P3& axis) {
  Track3ds track;
  const int steps = std::max(1, static_cast<int>(std::ceil(std::abs(turns) * 4)));
  track.keys.push_back(turnKey(0, 0, axis));
  for (int i = 1; i <= steps; ++i)
    track.keys.push_back(turnKey(VoyageLastFrame * i / steps, 2 * Pi * turns / static_cast<float>(steps), axis));
  return track;
}

Track3ds still(const P3& p) { return {0, {positionKey(0, p)}, {}}; }
Track3ds unitScale() { return {0, {key3(0, 1, 1, 1)}, {}}; }

Node3ds objectNode(const std::string& name, uint16_t parent, Track3ds position, Track3ds rotation) {
  Node3ds node;
  node.name = name;
  node.parent = parent;
  node.tracks = {{PositionTrack3ds, std::move(position)}, {RotationTrack3ds, std::move(rotation)},
                 {ScaleTrack3ds, unitScale()}};
  return node;
}

Track3ds noTurn() { return {0, {turnKey(0, 0, {0, 1, 0})}, {}}; }

std::vector<Material3ds> materials() {
  Material3ds floor;
  floor.name = "Floor";
  floor.ambient = {0.35f, 0.35f, 0.4f};
  floor.diffuse = {0.9f, 0.9f, 0.95f};
  floor.specular = {0.3f, 0.3f, 0.3f};
  floor.shininess = 20;
  floor.texture = "floor.tga";
  Material3ds stone;
  stone.name = "Stone";
  stone.ambient = {0.5f, 0.45f, 0.4f};
  stone.diffuse = {1, 0.95f, 0.9f};
  stone.specular = {0.5f, 0.5f, 0.5f};
  stone.shininess = 40;
  stone.texture = "marble.tga";
  Material3ds chrome;
  chrome.name = "Chrome";
  chrome.ambient = {0.2f, 0.2f, 0.25f};
  chrome.diffuse = {0.5f, 0.55f, 0.6f};
  chrome.specular = {1, 1, 1};
  chrome.shininess = 80;
  chrome.texture = "metal.tga";
  chrome.reflection = "chrome.tga";
  Material3ds glass;
  glass.name = "Glass";
  glass.ambient = {0.3f, 0.4f, 0.5f};
  glass.diffuse = {0.6f, 0.85f, 1};
  glass.specular = {1, 1, 1};
  glass.shininess = 60;
  glass.transparency = 20;
  glass.texture = "glass.tga";
  glass.opacity = "glassmask.tga";
  Material3ds wing;
  wing.name = "Wing";
  wing.ambient = {0.3f, 0.1f, 0.4f};
  wing.diffuse = {0.7f, 0.3f, 0.9f};
  wing.specular = {0.9f, 0.8f, 1};
  wing.shininess = 50;
  Material3ds glow;
  glow.name = "Glow";
  glow.ambient = {1, 0.8f, 0.3f};
  glow.diffuse = {1, 0.85f, 0.4f};
  glow.selfIllumination = 80;
  return {floor, stone, chrome, glass, wing, glow};
}

Camera3ds camera(const std::string& name, const P3& eye, const P3& target, float lens) {
  return {name, toFile(eye), toFile(target), 0, lens};
}

// The first camera's flight: from high above, down and around, ending low beside the pillar.
P3 swoopEye(uint32_t frame) {
  const float t = static_cast<float>(frame) / 380.0f;
  const float angle = -Pi * 0.5f + t * Pi * 1.3f;
  const float radius = 70 - 48 * t;
  return {radius * std::cos(angle), 55 * (1 - t) * (1 - t) + 5, radius * std::sin(angle)};
}

// The second camera skims around the pillar, rising and dipping.
P3 skimEye(uint32_t frame) {
  const float t = static_cast<float>(frame - 340) / 460.0f;
  const float angle = 0.2f + t * Pi * 1.6f;
  const float radius = 17 + 4 * std::sin(t * Pi * 3);
  return {radius * std::cos(angle), 4.5f + 3.5f * std::sin(t * Pi * 4), radius * std::sin(angle)};
}

// The emitter's loop: a Lissajous figure through the glass and around the pillar.
P3 emitterPath(uint32_t frame) {
  const float t = static_cast<float>(frame) / VoyageLastFrame * 2 * Pi;
  return {9.5f * std::sin(2 * t), 5.5f + 3.5f * std::sin(5 * t), 9.5f * std::cos(3 * t)};
}

void addCameras(Scene3ds& s) {
  s.cameras = {camera("Camera01", swoopEye(0), {0, 5, 0}, 45), camera("Camera02", skimEye(340), {0, 6, 0}, 38)};
  Node3ds swoop;
  swoop.chunk = 0xB003;
  swoop.name = "Camera01";
  swoop.parent = Root;
  swoop.tracks = {{PositionTrack3ds, pathTrack(0, 380, 38, swoopEye)},
                  {FovTrack3ds, {0, {key1(0, 55), key1(200, 62), key1(380, 50)}, {}}},
                  {RollTrack3ds, {0, {key1(0, 0), key1(120, 18), key1(260, -12), key1(380, 0)}, {}}}};
  Node3ds swoopTarget;
  swoopTarget.chunk = 0xB004;
  swoopTarget.name = "Camera01";
  swoopTarget.tracks = {{PositionTrack3ds, {0, {positionKey(0, {0, 2, 0}), positionKey(200, {2, 5, -2}),
                                                positionKey(380, {0, 6, 0})}, {}}}};
  Node3ds skim;
  skim.chunk = 0xB003;
  skim.name = "Camera02";
  skim.tracks = {{PositionTrack3ds, pathTrack(340, 800, 46, skimEye)},
                 {FovTrack3ds, {0, {key1(340, 60), key1(560, 48), key1(800, 60)}, {}}},
                 {RollTrack3ds, {0, {key1(340, -8), key1(480, 22), key1(640, -20), key1(800, 0)}, {}}}};
  Node3ds skimTarget;
  skimTarget.chunk = 0xB004;
  skimTarget.name = "Camera02";
  skimTarget.tracks = {{PositionTrack3ds, {0, {positionKey(340, {0, 6, 0}), positionKey(570, {0, 4, 0}),
                                               positionKey(800, {0, 7, 0})}, {}}}};
  for (Node3ds* n : {&swoop, &swoopTarget, &skim, &skimTarget}) s.nodes.push_back(*n);
}

void addLights(Scene3ds& s) {
  Light3ds warm{"LampA", toFile({14, 12, 0}), Float3{1, 0.6f, 0.3f}, false, {}, 30, 45, 400.0f, {}};
  Light3ds cool{"LampB", toFile({-12, 4, 0}), Float3{0.3f, 0.8f, 1}, false, {}, 30, 45, 400.0f, {}};
  s.lights = {warm, cool};
  Node3ds a;
  a.chunk = 0xB005;
  a.name = "LampA";
  a.tracks = {{PositionTrack3ds, pathTrack(0, 800, 50, [](uint32_t f) {
                 const float t = static_cast<float>(f) / VoyageLastFrame * 2 * Pi;
                 return P3{14 * std::cos(t), 12, 14 * std::sin(t)};
               })},
              {ColourTrack3ds, {0, {key3(0, 1, 0.6f, 0.3f), key3(270, 1, 0.25f, 0.8f), key3(540, 1, 0.9f, 0.4f),
                                    key3(800, 1, 0.6f, 0.3f)}, {}}}};
  Node3ds b;
  b.chunk = 0xB005;
  b.name = "LampB";
  b.tracks = {{PositionTrack3ds, pathTrack(0, 800, 50, [](uint32_t f) {
                 const float t = static_cast<float>(f) / VoyageLastFrame * 2 * Pi;
                 return P3{-12 * std::cos(t * 1.5f), 4 + 2 * std::sin(t * 2), -12 * std::sin(t * 1.5f)};
               })},
              {ColourTrack3ds, {0, {key3(0, 0.3f, 0.8f, 1), key3(400, 0.3f, 1, 0.5f), key3(800, 0.3f, 0.8f, 1)}, {}}}};
  s.nodes.push_back(a);
  s.nodes.push_back(b);
}

}  // namespace

Scene3ds voyageScene() {
  Scene3ds s;
  s.materials = materials();
  s.segment = {0, VoyageLastFrame};

  // Meshes, each placed where its node starts it.
  Shape pillar = box({2.4f, 8, 2.4f});
  pillar.moveBy({0, 4, 0});
  const P3 ringAt{0, 7, 0};
  Shape ring = torus(5, 0.45f, 40, 12);
  Shape orb = sphere(1.2f, 20, 12);
  Shape wing = fin(5, 3, 0.4f);
  Shape mirrored = wing;
  mirrored.mirrorX();
  s.meshes = {toMesh3ds("Floor", ground(160, 16), {0, 0, 0}, "Floor"),
              toMesh3ds("Pillar", pillar, {0, 0, 0}, "Stone"),
              toMesh3ds("Ring", ring, ringAt, "Chrome"),
              toMesh3ds("Orb1", orb, ringAt + P3{5, 0, 0}, "Chrome"),
              toMesh3ds("Orb2", orb, ringAt + P3{-5, 0, 0}, "Chrome"),
              toMesh3ds("FinLeft", wing, {1.2f, 5, 0}, "Wing"),
              toMesh3ds("FinRight", mirrored, {-1.2f, 5, 0}, "Wing", true),
              toMesh3ds("emitter", gem(0.6f), emitterPath(0), "Glow")};
  for (int i = 0; i < 4; ++i) {
    // Panels on a circle of radius 11, each turned to face the pillar.
    const float a = Pi * 0.25f + static_cast<float>(i) * Pi * 0.5f;
    Shape glass = panel(9, 7);
    for (P3& p : glass.positions) p = {p.x * std::cos(a) - p.z * std::sin(a), p.y, p.x * std::sin(a) + p.z * std::cos(a)};
    // The panel faced -z; turned by a it faces (sin a, 0, -cos a): put it on the far side of that.
    const P3 at{-11 * std::sin(a), 0, 11 * std::cos(a)};
    s.meshes.push_back(toMesh3ds("Glass" + std::to_string(i + 1), glass, at, "Glass"));
  }

  // The hierarchy: node indices follow the order of s.nodes.
  s.nodes.push_back(objectNode("Floor", Root, still({0, 0, 0}), noTurn()));                  // 0
  s.nodes.push_back(objectNode("Pillar", Root, still({0, 0, 0}), spin(-0.75f, {0, 1, 0})));  // 1
  s.nodes.push_back(objectNode("Ring", 1, still(ringAt), spin(1.5f, {1, 0, 0.3f})));         // 2
  s.nodes.push_back(objectNode("Orb1", 2, still({5, 0, 0}), spin(3, {0, 1, 0})));            // 3
  s.nodes.push_back(objectNode("Orb2", 2, still({-5, 0, 0}), spin(-3, {0, 1, 0})));          // 4
  // The fins flap: a swing about the pillar's axis and back, every 200 frames.
  Track3ds flap;
  flap.keys = {turnKey(0, 0, {0, 0, 1})};
  for (uint32_t f = 100; f <= VoyageLastFrame; f += 100)
    flap.keys.push_back(turnKey(f, f % 200 ? 0.5f : -0.5f, {0, 0, 1}));
  Track3ds flapBack = flap;
  for (Key3ds& k : flapBack.keys) k.value[0] = -k.value[0];
  s.nodes.push_back(objectNode("FinLeft", 1, still({1.2f, 5, 0}), flap));       // 5
  s.nodes.push_back(objectNode("FinRight", 1, still({-1.2f, 5, 0}), flapBack));  // 6
  s.nodes.push_back(objectNode("emitter", Root, pathTrack(0, VoyageLastFrame, 20, emitterPath), spin(4, {0.3f, 1, 0})));
  for (int i = 0; i < 4; ++i) {
    const float a = Pi * 0.25f + static_cast<float>(i) * Pi * 0.5f;
    const P3 at{-11 * std::sin(a), 0, 11 * std::cos(a)};
    s.nodes.push_back(objectNode("Glass" + std::to_string(i + 1), Root, still(at), noTurn()));
  }
  addCameras(s);
  addLights(s);
  return s;
}

}  // namespace demo::show
