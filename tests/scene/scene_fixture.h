#pragma once
// Scenes built from writer-made files on the recording device, and one frame drawn as playscene
// draws it.

#include <gtest/gtest.h>

#include <memory>

#include "fx/random.h"
#include "scene/scene.h"
#include "support/recording_device.h"
#include "support/scene_files.h"

namespace demo::test {

class SceneFixture : public ::testing::Test {
 protected:
  SceneFixture() : d3d(new RecordingDirect3D), layer(recordingDirect3DFactory, d3d) {
    EXPECT_EQ(layer.createDevice(nullptr, 640, 480, 16, 0), 0);
  }
  ~SceneFixture() override {
    scenes.clear();
    layer.destroyDevice();
    d3d->Release();
  }

  RecordingDevice& device() { return *d3d->lastDevice; }

  Scene& build(const std::vector<uint8_t>& file) {
    RawScene raw;
    std::string reason;
    EXPECT_TRUE(readBytes(file, raw, &reason)) << reason;
    scenes.push_back(buildScene(layer, raw));
    return *scenes.back();
  }
  Scene& build(const Scene3ds& scene) { return build(write3ds(scene)); }

  // playscene's frame: identity on top of the world stack, the camera, the scene.
  void drawFrame(Scene& scene, float frame, bool clearLog = true) {
    if (clearLog) device().clearLog();
    layer.topTransform() = DeviceLayer::identity;
    scene.setupCamera(layer, frame);
    SceneDraw pass{layer, random, 0};
    scene.drawScene(pass, frame);
  }

  RecordingDirect3D* d3d;
  DeviceLayer layer;
  Random random;
  std::vector<std::unique_ptr<Scene>> scenes;
};

// A mesh of one triangle (engine space: y up) with its node, under a camera looking at it.
inline Scene3ds oneTriangle(const std::string& material = "") {
  Scene3ds s;
  Mesh3ds mesh;
  mesh.name = "Tri";
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}};
  mesh.faces = {{0, 1, 2, 0}};
  if (!material.empty()) mesh.groups = {{material, {0}}};
  s.meshes = {mesh};
  s.cameras = {{"Cam", {0, -10, 0}, {0, 0, 0}, 0, 50}};
  Node3ds node;
  node.name = "Tri";
  node.tracks = {{PositionTrack3ds, {0, {key3(0, 0, 0, 0)}, {}}}};
  s.nodes = {node};
  return s;
}

inline std::vector<DrawRecord> drawsOf(const RecordingDevice& device) { return device.draws; }

}  // namespace demo::test
