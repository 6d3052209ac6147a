// Drawing a scene on the recording device: the camera's matrices, lights, render states, the two
// passes and their alphas, the hierarchy walk, and what a scene that lacks something draws.

#include <gtest/gtest.h>

#include <cmath>

#include "scene/look_at.h"
#include "scene/matrix.h"
#include "scene/perspective.h"
#include "scene_fixture.h"

namespace demo::test {
namespace {

class SceneDrawing : public SceneFixture {};

std::vector<std::string> stateLog(const RecordingDevice& device) {
  std::vector<std::string> out;
  for (const DeviceCall& call : device.calls)
    if (call.name == "SetRenderState" || call.name == "LightEnable" || call.name == "SetVertexShader")
      out.push_back(call.toString());
  return out;
}

Scene3ds withLights(int count) {
  Scene3ds s = oneTriangle();
  for (int i = 0; i < count; ++i) {
    Light3ds light;
    light.name = "L" + std::to_string(i);
    light.position = {float(i), 0, 5};
    light.colour = Float3{1, 0.5f, 0.25f};
    s.lights.push_back(light);
  }
  return s;
}

TEST_F(SceneDrawing, StatesLightsAndTheMeshInTheirOrder) {
  Scene& scene = build(withLights(1));
  drawFrame(scene, 0);
  const std::vector<std::string> expected = {
      "LightEnable(0, 1)",        "LightEnable(1, 0)",        "LightEnable(2, 0)",        "LightEnable(3, 0)",
      "LightEnable(4, 0)",        "LightEnable(5, 0)",        "LightEnable(6, 0)",        "LightEnable(7, 0)",
      "SetVertexShader(274)",     "SetRenderState(7, 1)",     "SetRenderState(137, 1)",   "SetRenderState(22, 3)",
      "SetRenderState(137, 1)",   "SetRenderState(27, 1)",    "SetRenderState(19, 5)",    "SetRenderState(20, 6)",
      "SetRenderState(22, 3)",    "SetRenderState(14, 1)",    "SetRenderState(8, 3)",     "SetRenderState(128, 0)",
      "SetRenderState(8, 3)"};
  EXPECT_EQ(stateLog(device()), expected);
  const D3DLIGHT8* light = device().light(0);
  ASSERT_NE(light, nullptr);
  EXPECT_EQ(light->Type, D3DLIGHT_POINT);
  // No light node: the file's colour, and its position carried into camera space by the view.
  EXPECT_FLOAT_EQ(light->Diffuse.g, 0.5f);
  EXPECT_FLOAT_EQ(light->Specular.b, 0.25f);
  EXPECT_FLOAT_EQ(light->Attenuation0, 1.0f);
  EXPECT_FLOAT_EQ(light->Attenuation1, 0.01f);
  EXPECT_FLOAT_EQ(light->Attenuation2, 0.001f);
  EXPECT_NEAR(light->Position.z, 10.0f, 1e-4);  // 10 in front of the camera at z = -10
  EXPECT_NEAR(light->Position.y, 5.0f, 1e-4);
  ASSERT_EQ(device().draws.size(), 1u);
  const DrawRecord& draw = device().draws[0];
  EXPECT_EQ(draw.call, "DrawIndexedPrimitiveUP");
  EXPECT_EQ(draw.fvf, FVF_XYZ_NORMAL_TEX1);
  EXPECT_EQ(draw.stride, 32u);
  EXPECT_EQ(draw.numVertices, 3u);
  EXPECT_EQ(draw.minVertexIndex, 0u);
  // With a light, the frame's ambient is left alone.
  for (const DeviceCall& call : device().callsNamed("SetRenderState")) EXPECT_NE(call.args[0], D3DRS_AMBIENT);
}

TEST_F(SceneDrawing, ASceneWithoutLightsIsLitByWhiteAmbient) {
  Scene& scene = build(withLights(0));
  drawFrame(scene, 0);
  EXPECT_EQ(device().renderState(D3DRS_AMBIENT), 0xFFFFFFFFu);
  for (uint32_t i = 0; i < 8; ++i) EXPECT_FALSE(device().lightEnabled(i)) << i;
}

TEST_F(SceneDrawing, NoStaleLightStaysOnAndAtMostEightAreUsed) {
  Scene& many = build(withLights(10));
  drawFrame(many, 0);
  for (uint32_t i = 0; i < 8; ++i) EXPECT_TRUE(device().lightEnabled(i)) << i;
  EXPECT_EQ(device().count("SetLight"), 8u);
  Scene& two = build(withLights(2));
  drawFrame(two, 0);
  EXPECT_TRUE(device().lightEnabled(1));
  for (uint32_t i = 2; i < 8; ++i) EXPECT_FALSE(device().lightEnabled(i)) << i;
}

TEST_F(SceneDrawing, TheProjectionAndViewOfTheCamera) {
  Scene3ds s = oneTriangle();
  s.cameras[0].lens = 2400.0f / 60.0f;  // 60 degrees
  s.cameras[0].bank = 30;
  Scene& scene = build(s);
  scene.farPlane = 500;
  drawFrame(scene, 0);
  const D3DMATRIX expectedProjection = perspective(60 * 0.017453292f, 0.75f, 1.0f, 500.0f);
  const D3DMATRIX expectedView = lookAt({0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 30 * 0.017453292f);
  for (int i = 0; i < 16; ++i) {
    EXPECT_NEAR(device().transform(D3DTS_PROJECTION).m[i], expectedProjection.m[i], 1e-5) << i;
    EXPECT_NEAR(device().draws[0].world.m[i], expectedView.m[i], 1e-5) << i;
  }
  // The view transform of the device stays the identity.
  for (const DeviceCall& call : device().callsNamed("SetTransform")) EXPECT_NE(call.args[0], D3DTS_VIEW);
}

TEST_F(SceneDrawing, ADegenerateFarPlaneOrFieldOfViewStaysFinite) {
  Scene3ds s = oneTriangle();
  Node3ds camera;
  camera.chunk = 0xB003;
  camera.name = "Cam";
  camera.tracks = {{PositionTrack3ds, {0, {key3(0, 0, -10, 0)}, {}}}, {FovTrack3ds, {0, {key1(0, 0)}, {}}}};
  s.nodes.push_back(camera);
  Scene& scene = build(s);
  for (float far : {1.0f, 0.5f, -3.0f}) {
    scene.farPlane = far;
    drawFrame(scene, 0);
    for (float v : device().transform(D3DTS_PROJECTION).m) ASSERT_TRUE(std::isfinite(v)) << far;
  }
}

TEST_F(SceneDrawing, ACameraWithoutAFieldOfViewTrackUsesItsLens) {
  Scene3ds s = oneTriangle();
  s.cameras[0].lens = 48;  // 50 degrees
  Node3ds camera;
  camera.chunk = 0xB003;
  camera.name = "Cam";
  camera.tracks = {{PositionTrack3ds, {0, {key3(0, 0, -10, 0)}, {}}}};
  s.nodes.push_back(camera);
  Scene& scene = build(s);
  drawFrame(scene, 0);
  EXPECT_NEAR(scene.cameraFov(0), 50 * 0.017453292f, 1e-6);
  EXPECT_EQ(scene.cameraRoll(0), 0.0f);  // a roll track that is missing reads 0
}

TEST_F(SceneDrawing, BothAlphasZeroDrawNothingButStillSetTheLights) {
  Scene& scene = build(withLights(1));
  scene.solidAlpha = 0;
  scene.wireAlpha = 0;
  drawFrame(scene, 0);
  EXPECT_TRUE(device().draws.empty());
  EXPECT_EQ(device().count("SetLight"), 1u);
  EXPECT_EQ(device().renderState(D3DRS_FILLMODE), static_cast<uint32_t>(D3DFILL_SOLID));
}

TEST_F(SceneDrawing, HalfAWireframeOverTheSolidPass) {
  Scene& scene = build(oneTriangle());
  scene.wireAlpha = 0.5f;
  drawFrame(scene, 0);
  ASSERT_EQ(device().draws.size(), 2u);
  EXPECT_EQ(device().draws[0].renderStates.at(D3DRS_FILLMODE), static_cast<uint32_t>(D3DFILL_SOLID));
  EXPECT_EQ(device().draws[1].renderStates.at(D3DRS_FILLMODE), static_cast<uint32_t>(D3DFILL_WIREFRAME));
  EXPECT_EQ(device().draws[1].indices, device().draws[0].indices);
  EXPECT_EQ(device().count("SetMaterial"), 2u);
  // The last material is the wire's: white, lit, at half the opacity; no texture, stage 1 off.
  const D3DMATERIAL8& wire = device().material();
  EXPECT_FLOAT_EQ(wire.Diffuse.r, 1.0f);
  EXPECT_FLOAT_EQ(wire.Diffuse.a, 0.5f);
  EXPECT_FLOAT_EQ(wire.Ambient.g, 1.0f);
  EXPECT_FLOAT_EQ(wire.Emissive.r, 0.0f);
  EXPECT_EQ(device().draws[1].texture0, nullptr);
  EXPECT_EQ(device().draws[1].stage1.at(D3DTSS_COLOROP), static_cast<uint32_t>(D3DTOP_DISABLE));
  // The pass ends solid.
  EXPECT_EQ(device().renderState(D3DRS_FILLMODE), static_cast<uint32_t>(D3DFILL_SOLID));
}

TEST_F(SceneDrawing, TransparencyAndTheSolidAlphaMultiply) {
  Scene3ds s = oneTriangle("M");
  Material3ds m;
  m.name = "M";
  m.transparency = 25;
  s.materials = {m};
  Scene& scene = build(s);
  scene.solidAlpha = 0.5f;
  drawFrame(scene, 0);
  EXPECT_FLOAT_EQ(device().material().Diffuse.a, 0.375f);
}

TEST_F(SceneDrawing, AnOpacityMappedMaterialDrawsBothSidesWithoutDepthWritesAndTextureAlpha) {
  Scene3ds s = oneTriangle("Glass");
  Material3ds glass;
  glass.name = "Glass";
  glass.texture = "t.tga";
  glass.opacity = "o.tga";
  s.materials = {glass};
  Scene& scene = build(s);
  drawFrame(scene, 0);
  const DrawRecord& draw = device().draws.at(0);
  EXPECT_EQ(draw.renderStates.at(D3DRS_CULLMODE), static_cast<uint32_t>(D3DCULL_NONE));
  EXPECT_EQ(draw.renderStates.at(D3DRS_ZWRITEENABLE), 0u);
  EXPECT_EQ(draw.stage0.at(D3DTSS_ALPHAOP), static_cast<uint32_t>(D3DTOP_MODULATE));
}

TEST_F(SceneDrawing, AReflectionMapIsAddedOnStageOne) {
  Scene& scene = build(oneTriangle());
  Material& material = *scene.fallbackMaterial;
  ASSERT_EQ(device().CreateTexture(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &material.texture), D3D_OK);
  ASSERT_EQ(device().CreateTexture(4, 4, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &material.reflection), D3D_OK);
  drawFrame(scene, 0);
  const DrawRecord& draw = device().draws.at(0);
  EXPECT_EQ(draw.texture0, material.texture);
  EXPECT_EQ(draw.texture1, material.reflection);
  EXPECT_EQ(draw.stage1.at(D3DTSS_COLOROP), static_cast<uint32_t>(D3DTOP_ADD));
  EXPECT_EQ(draw.stage0.at(D3DTSS_ALPHAOP), static_cast<uint32_t>(D3DTOP_SELECTARG2));
  // The device layer's reflection set-up: the camera-space reflection vector through the sphere map.
  EXPECT_EQ(draw.stage1.at(D3DTSS_TEXCOORDINDEX), D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR);
}

TEST_F(SceneDrawing, NoCameraNoDrawing) {
  Scene3ds s = oneTriangle();
  s.cameras.clear();
  Scene& scene = build(s);
  drawFrame(scene, 0);
  EXPECT_TRUE(device().draws.empty());
  EXPECT_EQ(scene.currentCamera, nullptr);
  EXPECT_EQ(scene.cameraFov(0), 0.0f);
}

TEST_F(SceneDrawing, AMovingParentCarriesTheCamera) {
  Scene3ds s = oneTriangle();
  Node3ds carrier;
  carrier.name = "Carrier";
  carrier.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0), key3(10, 100, 0, 0)}, {}}}};
  Node3ds camera;
  camera.chunk = 0xB003;
  camera.name = "Cam";
  camera.parent = 1;
  camera.tracks = {{PositionTrack3ds, {0, {key3(0, 0, -10, 0)}, {}}}};
  s.nodes = {s.nodes[0], carrier, camera};
  s.segment = {0, 10};
  Scene& scene = build(s);
  drawFrame(scene, 0);
  layer.topTransform() = DeviceLayer::identity;  // as playscene and the tunnel ask: world positions
  EXPECT_NEAR(scene.cameraEye(layer, 0).x, 0.0f, 1e-5);
  EXPECT_NEAR(scene.cameraEye(layer, 10).x, 100.0f, 1e-4);
  EXPECT_NEAR(scene.cameraEye(layer, 10).z, -10.0f, 1e-4);
  // Without a target node the file's target stands in.
  EXPECT_NEAR(scene.cameraTarget(layer, 10).x, 0.0f, 1e-5);
}

TEST_F(SceneDrawing, NodesTransformScaleRotateMoveAndAttachmentsTakeThePivot) {
  struct Probe : NodeAttachment {
    RecordingDevice* device;
    std::vector<D3DMATRIX> worlds;
    void draw(SceneDraw& pass) override {
      worlds.push_back(device->transform(D3DTS_WORLD));
      EXPECT_EQ(pass.solidAlpha, 0.25f);
    }
  };
  Scene3ds s = oneTriangle();
  s.nodes[0].pivot = Float3{1, 0, 0};
  s.nodes[0].tracks = {{PositionTrack3ds, {0, {key3(0, 10, 0, 0)}, {}}},
                       {ScaleTrack3ds, {0, {key3(0, 2, 2, 2)}, {}}}};
  Node3ds child;
  child.name = "Child";
  child.parent = 0;
  child.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 1)}, {}}}};
  s.nodes.push_back(child);
  Scene& scene = build(s);
  scene.solidAlpha = 0.25f;
  Probe parent, kid;
  parent.device = kid.device = &device();
  ASSERT_TRUE(scene.attachToObject("Tri", parent));
  ASSERT_TRUE(scene.attachToObject("Child", kid));
  drawFrame(scene, 0);
  ASSERT_EQ(parent.worlds.size(), 1u);
  ASSERT_EQ(kid.worlds.size(), 1u);
  // The child is drawn first; its matrix carries the parent's scale and place but not the pivot.
  const D3DMATRIX view = lookAt({0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0);
  const Vec3 atChild = transformPoint({0, 0, 0}, kid.worlds[0]);
  const Vec3 expectedChild = transformPoint({10, 2, 0}, view);  // (0, 1, 0) scaled by 2, moved by 10
  EXPECT_NEAR(atChild.x, expectedChild.x, 1e-4);
  EXPECT_NEAR(atChild.y, expectedChild.y, 1e-4);
  const Vec3 atParent = transformPoint({0, 0, 0}, parent.worlds[0]);
  const Vec3 expectedParent = transformPoint({8, 0, 0}, view);  // -pivot scaled by 2, moved by 10
  EXPECT_NEAR(atParent.x, expectedParent.x, 1e-4);
}

TEST_F(SceneDrawing, ANodeWithoutAScaleTrackKeepsItsSize) {
  Scene& scene = build(oneTriangle());
  drawFrame(scene, 0);
  const D3DMATRIX view = lookAt({0, 0, -10}, {0, 0, 0}, {0, 1, 0}, 0);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(device().draws.at(0).world.m[i], view.m[i], 1e-6) << i;
}

TEST_F(SceneDrawing, NodesDeeperThanTheTransformStackAreLeftOut) {
  Scene3ds s = oneTriangle();
  s.nodes.clear();
  for (uint16_t i = 0; i < 100; ++i) {
    Node3ds n;
    n.name = "Tri";
    n.parent = i == 0 ? 0xFFFF : uint16_t(i - 1);
    s.nodes.push_back(n);
  }
  Scene& scene = build(s);
  drawFrame(scene, 0);
  // The stack holds 64 matrices and the view takes the first: 63 nodes deep at most.
  EXPECT_EQ(device().draws.size(), 63u);
  EXPECT_EQ(layer.stackDepth(0), 0);
}

TEST_F(SceneDrawing, PlaysceneDrawsTheRealSceneThroughTheTimeline) {
  // The frame rule and setupCamera + drawScene as the instruction runs them, on the sample scene.
  Scene& scene = build(sampleScene());
  for (float frame : {0.0f, 25.0f, 50.0f, 99.5f}) {
    drawFrame(scene, frame);
    EXPECT_FALSE(device().draws.empty()) << frame;
    for (const DrawRecord& draw : device().draws)
      for (uint32_t index : draw.indices) ASSERT_LT(index, draw.numVertices) << frame;
    for (float v : device().transform(D3DTS_PROJECTION).m) ASSERT_TRUE(std::isfinite(v));
  }
}

}  // namespace
}  // namespace demo::test
