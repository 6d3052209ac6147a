// The scene model: cameras, node names and hierarchy, materials, meshes (vertices, winding, normals,
// runs), and what a file that lacks something gets instead.

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <cstring>
#include <cmath>
#include <filesystem>

#include "scene/matrix.h"
#include "scene_fixture.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

class SceneModel : public SceneFixture {};

Node3ds node(uint16_t chunk, const std::string& name, uint16_t parent = 0xFFFF) {
  Node3ds n;
  n.chunk = chunk;
  n.name = name;
  n.parent = parent;
  return n;
}

std::vector<std::string> childNames(const SceneNode& parent) {
  std::vector<std::string> names;
  for (const SceneNode* c = parent.firstChild; c; c = c->nextSibling) names.push_back(c->name);
  return names;
}

TEST_F(SceneModel, CamerasOfTheSameNameAndTheFirstDrawFindTheOneReadLast) {
  Scene3ds s;
  s.cameras = {{"Cam", {0, -10, 0}, {0, 0, 0}, 0, 50}, {"Other", {0, -20, 0}, {0, 0, 0}, 0, 50},
               {"Cam", {0, -30, 0}, {0, 0, 0}, 0, 50}};
  s.nodes = {node(0xB003, "Cam")};
  Scene& scene = build(s);
  ASSERT_EQ(scene.cameras.size(), 3u);
  // The camera node went to the last "Cam" of the file.
  EXPECT_EQ(scene.cameras[0]->cameraNode, static_cast<CameraNode*>(scene.nodes[0].get()));
  EXPECT_EQ(scene.cameras[2]->cameraNode, nullptr);
  drawFrame(scene, 0);
  EXPECT_EQ(scene.currentCamera, scene.cameras[0].get());
  EXPECT_EQ(scene.currentCamera->stored.position.z, -30.0f);
  ASSERT_TRUE(scene.selectCamera("Other"));
  EXPECT_EQ(scene.currentCamera->stored.position.z, -20.0f);
  ASSERT_TRUE(scene.selectCamera("Cam"));
  EXPECT_EQ(scene.currentCamera, scene.cameras[0].get());
  // Camera names compare with regard to case; a miss changes nothing.
  EXPECT_FALSE(scene.selectCamera("cam"));
  EXPECT_EQ(scene.currentCamera, scene.cameras[0].get());
}

TEST_F(SceneModel, ObjectNamesIgnoreCaseAndTheRootIsNoObject) {
  Scene& scene = build(oneTriangle());
  struct Nothing : NodeAttachment {
    void draw(SceneDraw&) override {}
  } particles;
  EXPECT_EQ(scene.findNode(scene.root, "$root$"), &scene.root);
  EXPECT_FALSE(scene.attachToObject("$Root$", particles));
  EXPECT_FALSE(scene.attachToObject("Missing", particles));
  ASSERT_TRUE(scene.attachToObject("tRI", particles));
  const auto& object = static_cast<const ObjectNode&>(*scene.nodes[0]);
  EXPECT_EQ(object.attachment, &particles);
  // The replaced mesh stays with the scene.
  EXPECT_EQ(scene.meshes.size(), 1u);
}

TEST_F(SceneModel, TheFirstFaceGroupWithAKnownMaterialDecidesForTheWholeMesh) {
  Scene3ds s = oneTriangle();
  Material3ds red, blue;
  red.name = "Red";
  red.diffuse = {1, 0, 0};
  blue.name = "Blue";
  blue.diffuse = {0, 0, 1};
  Material3ds red2 = red;
  red2.diffuse = {0.5f, 0, 0};
  s.materials = {red, blue, red2};
  s.meshes[0].vertices.push_back({1, 0, 1});
  s.meshes[0].faces.push_back({1, 3, 2, 0});
  s.meshes[0].groups = {{"Nope", {0}}, {"Red", {0}}, {"Blue", {1}}};
  Scene& scene = build(s);
  ASSERT_NE(scene.meshes[0]->material, nullptr);
  // The last "Red" of the file: the list runs from the file's last material to its first.
  EXPECT_FLOAT_EQ(scene.meshes[0]->material->deviceMaterial.Diffuse.r, 0.5f);
}

TEST_F(SceneModel, MaterialValuesAndAMeshWithoutMaterialGetsTheFallback) {
  Scene3ds s = oneTriangle("Glass");
  Material3ds glass;
  glass.name = "Glass";
  glass.diffuse = {0.2f, 0.4f, 0.6f};
  glass.ambient = {0.1f, 0.1f, 0.1f};
  glass.transparency = 25;
  glass.selfIllumination = 50;
  glass.shininess = 30;
  glass.opacity = "mask.tga";  // without a texture map: ignored
  s.materials = {glass};
  Scene& scene = build(s);
  const Material& m = *scene.meshes[0]->material;
  EXPECT_FLOAT_EQ(m.deviceMaterial.Diffuse.a, 0.75f);
  EXPECT_FLOAT_EQ(m.deviceMaterial.Ambient.a, 1.0f);
  EXPECT_FLOAT_EQ(m.deviceMaterial.Emissive.g, 0.5f);
  EXPECT_FLOAT_EQ(m.deviceMaterial.Emissive.a, 0.5f);
  EXPECT_FLOAT_EQ(m.deviceMaterial.Power, 0.3f);
  EXPECT_EQ(m.flags, 0);
  EXPECT_EQ(m.texture, nullptr);
  EXPECT_EQ(scene.meshes[0]->flags, 0);

  Scene& bare = build(oneTriangle("NoSuchMaterial"));
  EXPECT_EQ(bare.meshes[0]->material, bare.fallbackMaterial.get());
}

TEST_F(SceneModel, TransparentObjectsGoBehindTheirSiblingsOpaqueOnesInFront) {
  Scene3ds s;
  Material3ds glass;
  glass.name = "Glass";
  glass.texture = "t.tga";
  glass.opacity = "o.tga";
  s.materials = {glass};
  for (const char* name : {"A", "Clear", "B", "C"}) {
    Mesh3ds mesh;
    mesh.name = name;
    mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    mesh.faces = {{0, 1, 2, 0}};
    if (std::string(name) == "Clear") mesh.groups = {{"Glass", {0}}};
    s.meshes.push_back(mesh);
    s.nodes.push_back(node(0xB002, name));
  }
  Scene& scene = build(s);
  // The textures are not on disk, yet the flag stays: the mesh is drawn as transparent.
  EXPECT_EQ(scene.materials[0]->flags, Material::OpacityMap);
  EXPECT_EQ(childNames(scene.root), (std::vector<std::string>{"C", "B", "A", "Clear"}));
}

TEST_F(SceneModel, TargetNodesFindTheFirstCameraAgreeingOverTheShorterName) {
  Scene3ds s;
  s.cameras = {{"Camera01", {}, {}, 0, 50}, {"Camera0", {}, {}, 0, 50}};
  s.nodes = {node(0xB004, "Camera01"), node(0xB003, "Camera01")};
  Scene& scene = build(s);
  // The list runs last-first: "Camera0" comes first and takes the target named "Camera01".
  ASSERT_STREQ(scene.cameras[0]->name, "Camera0");
  EXPECT_EQ(scene.cameras[0]->targetNode, static_cast<TargetNode*>(scene.nodes[0].get()));
  EXPECT_EQ(scene.cameras[1]->targetNode, nullptr);
  EXPECT_EQ(scene.cameras[1]->cameraNode, static_cast<CameraNode*>(scene.nodes[1].get()));
}

TEST_F(SceneModel, FacesRunByTheirWrapFlagsAndEachRunIsOneDraw) {
  Scene3ds s = oneTriangle();
  Mesh3ds& mesh = s.meshes[0];
  mesh.faces = {{0, 1, 2, 0x08}, {0, 1, 2, 0x08}, {0, 1, 2, 0x18}, {0, 1, 2, 0x10}, {0, 1, 2, 0x00}};
  Scene& scene = build(s);
  const auto& runs = scene.meshes[0]->runs;
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].wrap, 1u);
  EXPECT_EQ(runs[0].count, 2);
  EXPECT_EQ(runs[1].wrap, 3u);
  EXPECT_EQ(runs[2].wrap, 2u);
  EXPECT_EQ(runs[3].wrap, 0u);
  EXPECT_EQ(runs[3].firstFace, 4);
  drawFrame(scene, 0);
  const auto wraps = device().callsNamed("SetRenderState");
  std::vector<uint64_t> wrapValues;
  for (const auto& call : wraps)
    if (call.args[0] == D3DRS_WRAP0) wrapValues.push_back(call.args[1]);
  EXPECT_EQ(wrapValues, (std::vector<uint64_t>{1, 3, 2, 0}));
  ASSERT_EQ(device().draws.size(), 4u);
  EXPECT_EQ(device().draws[1].primitiveCount, 1u);
  EXPECT_EQ(device().draws[0].primitiveCount, 2u);
}

TEST_F(SceneModel, AMirroredMatrixKeepsTheFilesWindingOthersReverseIt) {
  Scene3ds s = oneTriangle();
  s.meshes.push_back(s.meshes[0]);
  s.meshes[1].name = "Mirror";
  // As a mirror tool leaves an object: vertices mirrored in x, faces unchanged (so inside out), and
  // the mirror in the matrix.
  s.meshes[1].vertices = {{0, 0, 0}, {-1, 0, 0}, {0, 0, 1}};
  s.meshes[1].matrix = std::array<Float3, 4>{{{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}}};
  Scene& scene = build(s);
  const Mesh& mirror = *scene.meshes[0];  // the last mesh of the file comes first
  const Mesh& plain = *scene.meshes[1];
  ASSERT_STREQ(mirror.name, "Mirror");
  EXPECT_TRUE(mirror.mirrored);
  EXPECT_FALSE(plain.mirrored);
  EXPECT_EQ(plain.indices, (std::vector<uint16_t>{0, 2, 1}));
  EXPECT_EQ(mirror.indices, (std::vector<uint16_t>{0, 1, 2}));
  // The mesh's own space keeps the mirrored shape (the matrix's mirror is taken out of the inverse).
  EXPECT_FLOAT_EQ(mirror.vertices[1].x, -1.0f);
  // Both face the camera: normals along -z.
  EXPECT_FLOAT_EQ(plain.vertices[0].nz, -1.0f);
  EXPECT_FLOAT_EQ(mirror.vertices[0].nz, -1.0f);
}

TEST_F(SceneModel, VerticesComeIntoTheMeshsOwnSpaceWithTextureCoordinatesTurnedUp) {
  Scene3ds s = oneTriangle();
  s.meshes[0].matrix = std::array<Float3, 4>{{{2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {10, 20, 30}}};
  s.meshes[0].vertices = {{10, 20, 30}, {12, 20, 30}, {10, 20, 32}};
  s.meshes[0].uvs = std::vector<std::array<float, 2>>{{0.25f, 0.25f}, {1, 0}, {0, 1}};
  Scene& scene = build(s);
  const auto& v = scene.meshes[0]->vertices;
  EXPECT_FLOAT_EQ(v[0].x, 0);
  EXPECT_FLOAT_EQ(v[1].x, 1);
  EXPECT_FLOAT_EQ(v[2].y, 1);
  EXPECT_FLOAT_EQ(v[0].u, 0.25f);
  EXPECT_FLOAT_EQ(v[0].v, 0.75f);
}

TEST_F(SceneModel, FacesWithoutAreaAddNothingToNormals) {
  Scene3ds s = oneTriangle();
  s.meshes[0].vertices.push_back({5, 5, 5});
  s.meshes[0].vertices.push_back({6, 6, 6});
  s.meshes[0].faces.push_back({3, 4, 3, 0});  // collinear
  Scene& scene = build(s);
  const auto& v = scene.meshes[0]->vertices;
  EXPECT_FLOAT_EQ(v[0].nz, -1.0f);
  for (int i : {3, 4}) {
    EXPECT_EQ(v[i].nx, 0.0f);
    EXPECT_EQ(v[i].ny, 0.0f);
    EXPECT_EQ(v[i].nz, 0.0f);
  }
}

TEST_F(SceneModel, ASegmentGivenBackwardsIsSwapped) {
  Scene3ds s = oneTriangle();
  s.segment = {90, 10};
  Scene& scene = build(s);
  EXPECT_EQ(scene.firstFrame, 10u);
  EXPECT_EQ(scene.lastFrame, 90u);
}

TEST_F(SceneModel, LightRangeIsTheOuterRangeWhenGivenElseTheLargest) {
  Scene3ds s = oneTriangle();
  Light3ds near, far, negative;
  near.name = "Near";
  near.outerRange = 50;
  far.name = "Far";
  negative.name = "Negative";
  negative.outerRange = -5;
  s.lights = {near, far, negative};
  Scene& scene = build(s);
  EXPECT_FLOAT_EQ(scene.lights[2]->range, 50);
  EXPECT_FLOAT_EQ(scene.lights[1]->range, std::sqrt(FLT_MAX));
  EXPECT_FLOAT_EQ(scene.lights[0]->range, std::sqrt(FLT_MAX));
}

TEST_F(SceneModel, MapNamesReachTheDiskOnlyAsPlainFileNames) {
  TempDir dir;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  const auto picture = writeTga(TgaLayout{}, 2, 2, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu});
  writeFile(dir / "wood.tga", picture);
  std::filesystem::create_directory(dir / "sub");
  writeFile(dir / "sub" / "wood.tga", picture);
  Scene3ds s = oneTriangle("M");
  Material3ds m;
  m.name = "M";
  for (const char* name : {"wood.tga", "sub/wood.tga", "sub\\wood.tga", "../wood.tga", "c:wood.tga"}) {
    m.texture = name;
    s.materials = {m};
    Scene& scene = build(s);
    EXPECT_EQ(scene.materials[0]->texture != nullptr, std::string(name) == "wood.tga") << name;
  }
  std::filesystem::current_path(previous);
}

TEST_F(SceneModel, AFileWithoutKeyframerNodesShowsEachMeshOnceAsStored) {
  Scene3ds s = oneTriangle();
  s.nodes.clear();
  s.meshes[0].matrix = std::array<Float3, 4>{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {5, 5, 5}}};
  s.meshes[0].vertices = {{5, 5, 5}, {6, 5, 5}, {5, 5, 6}};
  Scene& scene = build(s);
  ASSERT_EQ(childNames(scene.root), (std::vector<std::string>{"Tri"}));
  EXPECT_FLOAT_EQ(scene.meshes[0]->vertices[1].x, 6.0f);  // not moved into the matrix's space
  drawFrame(scene, 0);
  ASSERT_EQ(device().draws.size(), 1u);
  VertexNormalTex drawn;
  std::memcpy(&drawn, device().draws[0].vertices.data() + 32, 32);
  EXPECT_FLOAT_EQ(drawn.x, 6.0f);
}

TEST_F(SceneModel, AWideHierarchyBuildsWithoutRecursionOrQuadraticWork) {
  Scene3ds s;
  s.nodes.assign(60000, node(0xB002, "n"));
  // A chain 3000 deep beside it.
  for (uint16_t i = 0; i < 3000; ++i) s.nodes.push_back(node(0xB002, "d", i == 0 ? 0xFFFF : uint16_t(60000 + i - 1)));
  const auto started = std::chrono::steady_clock::now();
  Scene& scene = build(s);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LT(seconds, 2.0);
  EXPECT_EQ(childNames(scene.root).size(), 60001u);
  EXPECT_EQ(scene.findNode(scene.root, "D")->parent, &scene.root);
  EXPECT_EQ(scene.findNode(scene.root, "x"), nullptr);
}

TEST_F(SceneModel, ANodeWhoseParentIsNotYetThereIsLeftOut) {
  Scene3ds s = oneTriangle();
  s.nodes[0].parent = 5;
  Scene& scene = build(s);
  EXPECT_EQ(scene.root.firstChild, nullptr);
  drawFrame(scene, 0);
  EXPECT_TRUE(device().draws.empty());
}

TEST(SceneFiles, EveryRealFileLoadsIntoAScene) {
  DEMO_REQUIRE_TESTDATA();
  RecordingDirect3D* d3d = new RecordingDirect3D;
  {
    DeviceLayer layer(recordingDirect3DFactory, d3d);
    ASSERT_EQ(layer.createDevice(nullptr, 640, 480, 16, 0), 0);
    for (const auto& path : testdataFiles("3ds", {".3ds"})) {
      std::string reason;
      const auto scene = loadScene(layer, path.string().c_str(), &reason);
      if (std::filesystem::file_size(path) == 0) {
        EXPECT_EQ(scene, nullptr);
        EXPECT_EQ(reason, "the file is shorter than a chunk header (0 bytes)");
        continue;
      }
      ASSERT_NE(scene, nullptr) << path << ": " << reason;
      EXPECT_FALSE(scene->meshes.empty()) << path;
      for (const auto& mesh : scene->meshes)
        for (const auto& v : mesh->vertices)
          ASSERT_TRUE(std::isfinite(v.x + v.y + v.z + v.nx + v.ny + v.nz)) << path << " mesh " << mesh->name;
    }
  }
  d3d->Release();
}

}  // namespace
}  // namespace demo::test
