// The 3DS reader on writer-made files: what it reads and converts, what it skips, and the damaged
// files it refuses with a reason.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/scene_files.h"

namespace demo::test {
namespace {

const RawMesh& meshOf(const RawScene& scene, size_t i) { return std::get<RawMesh>(scene.objects.at(i).data); }

void expectVec(const Vec3& v, float x, float y, float z) {
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
}

TEST(SceneReader, ReadsEveryPartOfTheSampleSceneWithYAndZExchanged) {
  RawScene scene;
  std::string reason;
  ASSERT_TRUE(readBytes(write3ds(sampleScene()), scene, &reason)) << reason;
  ASSERT_EQ(scene.objects.size(), 5u);  // two meshes, the camera, two lights, in file order
  EXPECT_STREQ(scene.objects[0].name.data(), "Box");
  EXPECT_EQ(scene.objects[2].kind(), RawObjectKind::Camera);
  EXPECT_EQ(scene.objects[4].kind(), RawObjectKind::Light);

  const RawMesh& box = meshOf(scene, 0);
  EXPECT_EQ(box.vertexCount, 5u);
  expectVec(box.vertices[4], 0, 2, 0);  // file (0, 0, 2)
  expectVec(box.vertices[1], 1, 0, -1);
  ASSERT_TRUE(box.hasMapping);
  EXPECT_FLOAT_EQ(box.uvs[4][0], 0.5f);
  // File face (0, 2, 1) is kept as a, c, b.
  EXPECT_EQ(box.faces[0].index[0], 0);
  EXPECT_EQ(box.faces[0].index[1], 1);
  EXPECT_EQ(box.faces[0].index[2], 2);
  EXPECT_EQ(box.faces[0].flags, 7);
  ASSERT_EQ(box.faceGroups.size(), 2u);
  EXPECT_STREQ(box.faceGroups[1].materialName.data(), "Red");
  EXPECT_EQ(box.faceGroups[1].faces.size(), 6u);
  // Origin row (10, 20, 30) exchanged; the file's Y axis is row 2, its Z axis row 1.
  EXPECT_TRUE(box.hasMatrix);
  EXPECT_FLOAT_EQ(box.matrix[3][0], 10);
  EXPECT_FLOAT_EQ(box.matrix[3][1], 30);
  EXPECT_FLOAT_EQ(box.matrix[3][2], 20);
  EXPECT_FLOAT_EQ(box.matrix[3][3], 1);
  EXPECT_FLOAT_EQ(box.matrix[1][1], 1);  // file Z axis (0, 0, 1) exchanged to (0, 1, 0)
  EXPECT_FLOAT_EQ(box.matrix[2][2], 1);

  const auto& camera = std::get<RawCamera>(scene.objects[2].data);
  expectVec(camera.position, 0, 20, -100);
  EXPECT_FLOAT_EQ(camera.bank, 5);
  EXPECT_FLOAT_EQ(camera.lens, 35);
  const auto& lamp = std::get<RawLight>(scene.objects[3].data);
  expectVec(lamp.position, 10, 50, -20);
  EXPECT_EQ(lamp.present, RawLight::Colour | RawLight::OuterRange | RawLight::Multiplier);
  EXPECT_FLOAT_EQ(lamp.colour[1], 0.5f);
  EXPECT_FLOAT_EQ(lamp.outerRange, 300);
  EXPECT_FLOAT_EQ(lamp.multiplier, 1.5f);
  const auto& spot = std::get<RawLight>(scene.objects[4].data);
  EXPECT_TRUE(spot.present & RawLight::SpotTarget);
  expectVec(spot.position, 0, 100, 0);

  ASSERT_EQ(scene.materials.size(), 2u);
  const RawMaterial& red = scene.materials[0];
  EXPECT_FLOAT_EQ(red.diffuse[0], 0.8f);
  EXPECT_FLOAT_EQ(red.shininess, 0.4f);
  EXPECT_FLOAT_EQ(red.transparency, 0.25f);
  EXPECT_FLOAT_EQ(red.selfIllumination, 0.1f);
  const RawMaterial& textured = scene.materials[1];
  EXPECT_NEAR(textured.ambient[0], 128 / 255.0f, 1e-6);  // bytes scaled by 1/255
  EXPECT_FLOAT_EQ(textured.shininess, 0.125f);             // a float percentage
  EXPECT_STREQ(textured.textureName.data(), "wood.tga");
  EXPECT_STREQ(textured.reflectionName.data(), "chrome.tga");
  EXPECT_STREQ(textured.opacityName.data(), "mask.tga");

  EXPECT_TRUE(scene.hasSegment);
  EXPECT_EQ(scene.lastFrame, 100u);
  ASSERT_EQ(scene.nodes.size(), 7u);
  const RawNode& boxNode = scene.nodes[0];
  expectVec(boxNode.pivot, 0.5f, 1.5f, 1);
  ASSERT_EQ(boxNode.position.keys.size(), 3u);
  const VectorKey& eased = boxNode.position.keys[1];
  EXPECT_EQ(eased.frame, 50u);
  EXPECT_FLOAT_EQ(eased.tension, 0.5f);
  EXPECT_FLOAT_EQ(eased.continuity, -0.25f);
  EXPECT_FLOAT_EQ(eased.bias, 0.125f);
  expectVec(eased.value, 10, 5, 0);  // after two ease floats, read and dropped
  expectVec(boxNode.scale.keys[0].value, 1, 3, 2);
  expectVec(boxNode.rotation.keys[1].axis, 0, 1, 0);
  EXPECT_FLOAT_EQ(boxNode.rotation.keys[1].angle, 3.14159265f);
  EXPECT_EQ(scene.nodes[1].parent, 0);
  EXPECT_EQ(scene.nodes[1].index, 1);
  EXPECT_EQ(scene.nodes[2].kind, RawNodeKind::Camera);
  EXPECT_FLOAT_EQ(scene.nodes[2].roll.keys[1].value, 30);
  EXPECT_FLOAT_EQ(scene.nodes[2].fov.keys[0].value, 45);
  // Colour keys are colours, not points: not exchanged.
  const RawNode& lampNode = scene.nodes[4];
  EXPECT_EQ(lampNode.kind, RawNodeKind::Light);
  expectVec(lampNode.colour.keys[0].value, 1, 0.5f, 0.25f);
  EXPECT_EQ(scene.nodes[5].kind, RawNodeKind::Spotlight);
  EXPECT_EQ(scene.nodes[5].falloff.keys.size(), 1u);
  EXPECT_EQ(scene.nodes[6].kind, RawNodeKind::LightTarget);
}

TEST(SceneReader, SkipsUnknownChunksAtEveryLevelAndIgnoresWhatFollowsTheMainChunk) {
  Scene3ds sample = sampleScene();
  RawScene plain, sprinkled;
  ASSERT_TRUE(readBytes(write3ds(sample), plain));
  sample.unknownChunks = true;
  sample.trailing = {0x4D, 0x4D, 0x02, 0x00, 0x00, 0x00, 0xDE, 0xAD};
  std::string reason;
  ASSERT_TRUE(readBytes(write3ds(sample), sprinkled, &reason)) << reason;
  ASSERT_EQ(sprinkled.objects.size(), plain.objects.size());
  EXPECT_EQ(meshOf(sprinkled, 0).faces.size(), meshOf(plain, 0).faces.size());
  EXPECT_EQ(meshOf(sprinkled, 0).faceGroups.size(), 2u);
  EXPECT_FLOAT_EQ(sprinkled.materials[0].diffuse[0], 0.8f);
  EXPECT_STREQ(sprinkled.materials[1].textureName.data(), "wood.tga");
  EXPECT_EQ(std::get<RawLight>(sprinkled.objects[3].data).present, std::get<RawLight>(plain.objects[3].data).present);
  ASSERT_EQ(sprinkled.nodes.size(), plain.nodes.size());
  EXPECT_EQ(sprinkled.nodes[0].position.keys.size(), 3u);
}

TEST(SceneReader, FirstChunkMustBeTheMainChunkEvenWhenValidChunksFollow) {
  ChunkWriter out;
  out.chunk(0x0002, {3, 0, 0, 0});
  out.raw(write3ds(sampleScene()));
  RawScene scene;
  std::string reason;
  EXPECT_FALSE(readBytes(out.bytes, scene, &reason));
  EXPECT_EQ(reason, "not a 3DS file: it begins with chunk 0x0002, not 0x4D4D");
  EXPECT_TRUE(scene.objects.empty());
  EXPECT_EQ(refusal({}), "the file is shorter than a chunk header (0 bytes)");
}

TEST(SceneReader, LongNamesKeepTheirFirst31CharactersAndTheNextFieldStaysInPlace) {
  const std::string longName(40, 'n');
  Scene3ds s;
  Mesh3ds mesh;
  mesh.name = longName;
  mesh.vertices = {{1, 2, 3}};
  s.meshes = {mesh};
  Node3ds node;
  node.name = longName;
  node.parent = 7;
  s.nodes = {node};
  RawScene scene;
  ASSERT_TRUE(readBytes(write3ds(s), scene));
  EXPECT_EQ(std::string(scene.objects[0].name.data()), std::string(31, 'n'));
  expectVec(meshOf(scene, 0).vertices[0], 1, 3, 2);
  EXPECT_EQ(std::string(scene.nodes[0].name.data()), std::string(31, 'n'));
  EXPECT_EQ(scene.nodes[0].parent, 7);
}

TEST(SceneReader, KeyCountsAndFramesUseTheirLow16BitsAndSplineFlagsSayWhichFloatsFollow) {
  Node3ds node;
  node.name = "n";
  Track3ds position{0, {key3(65541, 1, 2, 3), key3(65542, 4, 5, 6)}, 65538u};
  Key3ds tensionAndEase = key3(7, 7, 8, 9);  // flags 0x0019
  tensionAndEase.tension = 0.75f;
  tensionAndEase.easeTo = 0.5f;
  tensionAndEase.easeFrom = 0.25f;
  Track3ds scale{0, {tensionAndEase}, {}};
  node.tracks = {{PositionTrack3ds, position}, {ScaleTrack3ds, scale}};
  Scene3ds s;
  s.nodes = {node};
  RawScene scene;
  std::string reason;
  ASSERT_TRUE(readBytes(write3ds(s), scene, &reason)) << reason;
  const RawNode& n = scene.nodes[0];
  ASSERT_EQ(n.position.keys.size(), 2u);
  EXPECT_EQ(n.position.keys[0].frame, 5u);
  EXPECT_EQ(n.position.keys[1].frame, 6u);
  expectVec(n.position.keys[1].value, 4, 6, 5);
  const VectorKey& k = n.scale.keys.at(0);
  EXPECT_FLOAT_EQ(k.tension, 0.75f);
  EXPECT_EQ(k.continuity, 0.0f);
  EXPECT_EQ(k.bias, 0.0f);
  expectVec(k.value, 7, 9, 8);
}

TEST(SceneReader, LightColourGivenOnlyAsBytesLeavesTheColourUnread) {
  Scene3ds s;
  Light3ds light;
  light.name = "l";
  light.colour = Float3{1, 1, 1};
  light.colourBytes = true;
  s.lights = {light};
  RawScene scene;
  ASSERT_TRUE(readBytes(write3ds(s), scene));
  const auto& raw = std::get<RawLight>(scene.objects[0].data);
  EXPECT_EQ(raw.present, 0u);
  EXPECT_EQ(raw.colour[0], 0.0f);
}

TEST(SceneReader, MappingBeforeVerticesMustAgreeOnTheCount) {
  const auto file = [](uint16_t mappingCount) {
    return meshFile([&](ChunkWriter& out) {
      out.begin(0x4140);
      out.u16(mappingCount);
      for (int i = 0; i < mappingCount; ++i) out.floats({0.25f, 0.75f});
      out.end();
      out.begin(0x4110);
      out.u16(2);
      out.floats({1, 2, 3, 4, 5, 6});
      out.end();
    });
  };
  RawScene scene;
  ASSERT_TRUE(readBytes(file(2), scene));
  EXPECT_EQ(meshOf(scene, 0).uvs.size(), 2u);
  EXPECT_EQ(meshOf(scene, 0).vertices.size(), 2u);
  EXPECT_EQ(refusal(file(3)), "chunk 0x4110 at offset 58: 2 vertices, but the mesh has 3 vertices");
  // An empty list agrees with no other count.
  EXPECT_NE(refusal(file(0)), "");
}

TEST(SceneReader, SmoothingGroupsBehindTheFaceGroupsAreSkipped) {
  Scene3ds s = sampleScene();
  s.meshes[0].smoothing = std::vector<uint32_t>(6, 0xFFFFFFFFu);
  RawScene scene;
  ASSERT_TRUE(readBytes(write3ds(s), scene));
  EXPECT_EQ(meshOf(scene, 0).faceGroups.size(), 2u);
  EXPECT_EQ(meshOf(scene, 0).faceGroups[1].faces.size(), 6u);
}

TEST(SceneReader, CountsAreCheckedAgainstTheirChunkBeforeAnythingIsRead) {
  const auto vertices = meshFile([](ChunkWriter& out) {
    out.begin(0x4110);
    out.u16(65535);
    out.raw(std::vector<uint8_t>(20, 0));
    out.end();
    // Floats of a following chunk must never be taken for vertices.
    out.begin(0x4120);
    out.u16(0);
    out.end();
  });
  EXPECT_EQ(refusal(vertices), "chunk 0x4110 at offset 26: 65535 vertices do not fit in 20 bytes");
  const auto faces = meshFile([](ChunkWriter& out) {
    out.begin(0x4120);
    out.u16(3);
    out.raw(std::vector<uint8_t>(16, 0));
    out.end();
  });
  EXPECT_EQ(refusal(faces), "chunk 0x4120 at offset 26: 3 faces do not fit in 16 bytes");
  Node3ds node;
  node.name = "n";
  node.tracks = {{PositionTrack3ds, {0, {key3(0, 1, 2, 3)}, 40000u}}};
  Scene3ds s;
  s.nodes = {node};
  EXPECT_NE(refusal(write3ds(s)).find("40000 keys do not fit in 18 bytes"), std::string::npos) << refusal(write3ds(s));
}

TEST(SceneReader, ChunkLengthsBelowTheHeaderOrBeyondTheParentFail) {
  for (uint32_t length : {0u, 5u}) {
    const auto file = editorFile([&](ChunkWriter& out) {
      out.begin(0x1234);
      out.end(length);
    });
    EXPECT_EQ(refusal(file), "chunk 0x1234 at offset 12: length " + std::to_string(length) +
                                 " is shorter than its own header");
  }
  const auto overlong = editorFile([](ChunkWriter& out) {
    out.begin(0x4000);
    out.text("x");
    out.end(0xFFFFFFF0u);  // would wrap around in 32 bits
  });
  EXPECT_EQ(refusal(overlong),
            "chunk 0x4000 at offset 12: its length 4294967280 runs to 4294967292, beyond the end of its parent at 20");
  std::vector<uint8_t> shortMain = write3ds(sampleScene());
  shortMain.resize(shortMain.size() - 1);
  EXPECT_NE(refusal(shortMain).find("beyond the end of the file"), std::string::npos);
}

TEST(SceneReader, IndicesBeyondTheirListsFail) {
  Scene3ds s;
  Mesh3ds mesh;
  mesh.name = "m";
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.faces = {{0, 1, 3, 0}};
  s.meshes = {mesh};
  EXPECT_EQ(refusal(write3ds(s)), "chunk 0x4100 at offset 40: face 0 uses vertex 3 of 3");
  s.meshes[0].faces = {{0, 1, 2, 0}};
  s.meshes[0].groups = {{"g", {0, 1}}};
  EXPECT_EQ(refusal(write3ds(s)), "chunk 0x4100 at offset 40: face group \"g\" names face 1 of 1");
}

TEST(SceneReader, TheFirstGeometryOfAnObjectWinsAndARepeatedTrackReplacesTheEarlier) {
  const auto file = meshFile([](ChunkWriter& out) {
    out.begin(0x4110);
    out.u16(1);
    out.floats({1, 2, 3});
    out.end();
    out.begin(0x4110);
    out.u16(2);
    out.floats({9, 9, 9, 9, 9, 9});
    out.end();
  });
  RawScene scene;
  ASSERT_TRUE(readBytes(file, scene));
  ASSERT_EQ(meshOf(scene, 0).vertices.size(), 1u);
  expectVec(meshOf(scene, 0).vertices[0], 1, 3, 2);

  // A camera chunk after the mesh in the same object: still a mesh.
  const auto both = editorFile([](ChunkWriter& out) {
    out.begin(0x4000);
    out.text("o");
    out.begin(0x4100);
    out.end();
    out.begin(0x4700);
    out.floats({1, 2, 3, 4, 5, 6, 7, 8});
    out.end();
    out.end();
  });
  ASSERT_TRUE(readBytes(both, scene));
  EXPECT_EQ(scene.objects[0].kind(), RawObjectKind::Mesh);

  Node3ds node;
  node.name = "n";
  node.tracks = {{PositionTrack3ds, {0, {key3(0, 1, 1, 1), key3(5, 2, 2, 2)}, {}}},
                 {PositionTrack3ds, {0, {key3(9, 3, 3, 3)}, {}}}};
  Scene3ds s;
  s.nodes = {node};
  ASSERT_TRUE(readBytes(write3ds(s), scene));
  ASSERT_EQ(scene.nodes[0].position.keys.size(), 1u);
  EXPECT_EQ(scene.nodes[0].position.keys[0].frame, 9u);
}

TEST(SceneReader, NotANumberAndInfinitiesReadAsZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  Scene3ds s;
  Mesh3ds mesh;
  mesh.name = "m";
  mesh.vertices = {{nan, inf, -inf}};
  mesh.matrix = std::array<Float3, 4>{{{nan, 0, 0}, {0, 1, 0}, {0, 0, 1}, {inf, 0, 0}}};
  s.meshes = {mesh};
  s.cameras = {{"c", {nan, 0, 0}, {0, 0, 0}, inf, nan}};
  RawScene scene;
  ASSERT_TRUE(readBytes(write3ds(s), scene));
  expectVec(meshOf(scene, 0).vertices[0], 0, 0, 0);
  EXPECT_EQ(meshOf(scene, 0).matrix[0][0], 0.0f);
  EXPECT_EQ(meshOf(scene, 0).matrix[3][0], 0.0f);
  EXPECT_EQ(std::get<RawCamera>(scene.objects[1].data).lens, 0.0f);
}

TEST(SceneReader, PercentagesAcceptOnlyTheirTwoFormsAndAreClamped) {
  const auto material = [](uint16_t form, std::vector<uint8_t> value) {
    return editorFile([&](ChunkWriter& out) {
      out.begin(0xAFFF);
      out.begin(0xA050);
      out.chunk(form, value);
      out.end();
      out.end();
    });
  };
  EXPECT_EQ(refusal(material(0x0010, {0, 0, 0, 0})),
            "chunk 0x0010 at offset 24: a percentage must be chunk 0x0030 or 0x0031");
  RawScene scene;
  ASSERT_TRUE(readBytes(material(0x0030, {0x2C, 0x01}), scene));  // 300 %
  EXPECT_EQ(scene.materials[0].transparency, 1.0f);
  ASSERT_TRUE(readBytes(material(0x0031, {0, 0, 0x20, 0xC2}), scene));  // -40.0
  EXPECT_EQ(scene.materials[0].transparency, 0.0f);
}

TEST(SceneReader, NamesMustEndInsideTheirChunk) {
  const auto file = editorFile([](ChunkWriter& out) {
    out.begin(0x4000);
    out.raw({'a', 'b', 'c'});
    out.end();
  });
  EXPECT_EQ(refusal(file), "chunk 0x4000 at offset 12: the name at offset 18 has no terminating zero before the "
                           "chunk's end");
}

TEST(SceneReader, AtMost65535KeyframerNodes) {
  const auto nodes = [](size_t count) {
    return keyframerFile([&](ChunkWriter& out) {
      for (size_t i = 0; i < count; ++i) out.chunk(0xB002, {});
    });
  };
  RawScene scene;
  ASSERT_TRUE(readBytes(nodes(65535), scene));
  EXPECT_EQ(scene.nodes.back().index, 65534);
  EXPECT_NE(refusal(nodes(65536)).find("more than 65535 keyframer nodes"), std::string::npos);
}

TEST(SceneReader, KindsReadOnlyTheirOwnTracks) {
  Node3ds target;
  target.chunk = 0xB004;
  target.name = "t";
  target.pivot = Float3{1, 2, 3};
  target.tracks = {{RollTrack3ds, {0, {key1(0, 5)}, {}}}, {ScaleTrack3ds, {0, {key3(0, 1, 1, 1)}, {}}}};
  Scene3ds s;
  s.nodes = {target};
  RawScene scene;
  ASSERT_TRUE(readBytes(write3ds(s), scene));
  EXPECT_FALSE(scene.nodes[0].roll.present);
  EXPECT_FALSE(scene.nodes[0].scale.present);
  expectVec(scene.nodes[0].pivot, 0, 0, 0);
}

}  // namespace
}  // namespace demo::test
