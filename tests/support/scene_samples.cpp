#include "support/scene_samples.h"

namespace demo::test {

Scene3ds sampleScene() {
  Scene3ds s;
  Material3ds red;
  red.name = "Red";
  red.ambient = {0.2f, 0.1f, 0.1f};
  red.diffuse = {0.8f, 0.1f, 0.1f};
  red.specular = {1, 1, 1};
  red.shininess = 40;
  red.transparency = 25;
  red.selfIllumination = 10;
  Material3ds textured;
  textured.name = "Textured";
  textured.ambient = {0.5f, 0.5f, 0.5f};
  textured.diffuse = {1, 1, 1};
  textured.colourBytes = true;
  textured.percentFloats = true;
  textured.shininess = 12.5f;
  textured.texture = "wood.tga";
  textured.reflection = "chrome.tga";
  textured.opacity = "mask.tga";
  s.materials = {red, textured};

  Mesh3ds box;
  box.name = "Box";
  box.vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}, {0, 0, 2}};
  box.uvs = std::vector<std::array<float, 2>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0.5f, 0.5f}};
  box.faces = {{0, 2, 1, 7}, {0, 3, 2, 7}, {0, 1, 4, 7}, {1, 2, 4, 7}, {2, 3, 4, 7}, {3, 0, 4, 7}};
  box.groups = {{"Missing", {0}}, {"Red", {0, 1, 2, 3, 4, 5}}};
  box.smoothing = std::vector<uint32_t>{1, 1, 2, 2, 2, 2};
  box.matrix = std::array<Float3, 4>{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {10, 20, 30}}};
  Mesh3ds plate;
  plate.name = "Plate";
  plate.vertices = {{-2, -2, 0}, {2, -2, 0}, {2, 2, 0}, {-2, 2, 0}};
  plate.uvs = std::vector<std::array<float, 2>>{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  plate.faces = {{0, 1, 2, 0x0F}, {0, 2, 3, 0x17}};
  plate.groups = {{"Textured", {0, 1}}};
  // Mirrored in x: the determinant is negative.
  plate.matrix = std::array<Float3, 4>{{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}}};
  s.meshes = {box, plate};

  s.cameras = {{"Camera01", {0, -100, 20}, {0, 0, 0}, 5, 35}};
  Light3ds lamp;
  lamp.name = "Lamp";
  lamp.position = {10, -20, 50};
  lamp.colour = Float3{1, 0.5f, 0.25f};
  lamp.outerRange = 300;
  lamp.multiplier = 1.5f;
  Light3ds spot;
  spot.name = "Spot";
  spot.position = {0, 0, 100};
  spot.colour = Float3{0, 0, 1};
  spot.spotTarget = Float3{0, 0, 0};
  s.lights = {lamp, spot};

  s.segment = {0, 100};
  Node3ds boxNode;
  boxNode.name = "Box";
  boxNode.id = 0;
  boxNode.pivot = Float3{0.5f, 1, 1.5f};
  Key3ds eased = key3(50, 10, 0, 5);
  eased.tension = 0.5f;
  eased.continuity = -0.25f;
  eased.bias = 0.125f;
  eased.easeTo = 1;
  eased.easeFrom = 1;
  boxNode.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0), eased, key3(100, 0, 0, 0)}, {}}},
                    {RotationTrack3ds, {0, {rotationKey(0, 0, 0, 0, 1), rotationKey(100, 3.14159265f, 0, 0, 1)}, {}}},
                    {ScaleTrack3ds, {0, {key3(0, 1, 2, 3)}, {}}}};
  Node3ds plateNode;
  plateNode.name = "Plate";
  plateNode.id = 1;
  plateNode.parent = 0;
  plateNode.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 5)}, {}}}};
  Node3ds cameraNode;
  cameraNode.chunk = 0xB003;
  cameraNode.name = "Camera01";
  cameraNode.id = 2;
  cameraNode.tracks = {{PositionTrack3ds, {0, {key3(0, 0, -100, 20), key3(100, 50, -80, 20)}, {}}},
                       {FovTrack3ds, {0, {key1(0, 45)}, {}}},
                       {RollTrack3ds, {0, {key1(0, 0), key1(100, 30)}, {}}}};
  Node3ds targetNode;
  targetNode.chunk = 0xB004;
  targetNode.name = "Camera01";
  targetNode.id = 3;
  targetNode.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0)}, {}}}};
  Node3ds lampNode;
  lampNode.chunk = 0xB005;
  lampNode.name = "Lamp";
  lampNode.id = 4;
  lampNode.tracks = {{PositionTrack3ds, {0, {key3(0, 10, -20, 50)}, {}}},
                     {ColourTrack3ds, {0, {key3(0, 1, 0.5f, 0.25f), key3(100, 0.25f, 0.5f, 1)}, {}}}};
  Node3ds spotNode;
  spotNode.chunk = 0xB007;
  spotNode.name = "Spot";
  spotNode.id = 5;
  spotNode.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 100)}, {}}},
                     {ColourTrack3ds, {0, {key3(0, 0, 0, 1)}, {}}},
                     {HotspotTrack3ds, {0, {key1(0, 30)}, {}}},
                     {FalloffTrack3ds, {0, {key1(0, 45)}, {}}}};
  Node3ds spotTarget;
  spotTarget.chunk = 0xB006;
  spotTarget.name = "Spot";
  spotTarget.id = 6;
  spotTarget.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0)}, {}}}};
  s.nodes = {boxNode, plateNode, cameraNode, targetNode, lampNode, spotNode, spotTarget};
  return s;
}

}  // namespace demo::test
