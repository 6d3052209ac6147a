#pragma once
// Stand-ins for the objects the timeline drives, recording what was asked of them.

#include <cstdio>
#include <string>
#include <vector>

#include "fx/blob_system.h"
#include "fx/blobs_2d.h"
#include "fx/grid_image.h"
#include "fx/image.h"
#include "fx/particle_system.h"
#include "scene/scene.h"
#include "support/recording_device.h"

namespace demo::test {

// Draws by writing its tag and its colour at that moment into a shared log.
class FakeImage : public Image {
 public:
  FakeImage(std::string tag, std::vector<std::string>* log) : tag_(std::move(tag)), log_(log) {}
  int draw(DeviceLayer&) override {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", colour);
    if (log_) log_->push_back(tag_ + " " + text);
    return 1;
  }

 private:
  std::string tag_;
  std::vector<std::string>* log_;
};

// A scene whose animation segment and cameras the test chooses; records the frames it is drawn at.
class FakeScene : public Scene {
 public:
  std::vector<std::string> cameras;
  Camera standIn;
  std::vector<float> drawnFrames;
  std::vector<float> setupFrames;

  bool selectCamera(const char* name) override {
    for (const std::string& camera : cameras)
      if (camera == name) {
        currentCamera = &standIn;  // a camera without nodes: its stored values stand in
        return true;
      }
    return false;
  }
  void setupCamera(DeviceLayer&, float frame) override { setupFrames.push_back(frame); }
  void drawScene(SceneDraw&, float frame) override { drawnFrames.push_back(frame); }

  // The current camera flies along z at one unit per frame, rolling 0.01 radians per frame.
  std::vector<float> cameraFrames;
  Vec3 cameraEye(DeviceLayer&, float frame) override {
    cameraFrames.push_back(frame);
    return {10.0f, -20.0f, frame};
  }
  Vec3 cameraTarget(DeviceLayer&, float frame) override { return {0.0f, 0.0f, frame + 100.0f}; }
  float cameraFov(float) override { return 0.8f; }
  float cameraRoll(float frame) override { return frame * 0.01f; }
};

class FakeParticles : public ParticleSystem {
 public:
  using ParticleSystem::ParticleSystem;
  std::vector<float> restarts;
  std::vector<uint32_t> drawTimes;
  D3DMATRIX projectionAtDraw{};
  D3DMATRIX worldAtDraw{};
  void restart(float seconds) override { restarts.push_back(seconds); }
  void draw(SceneDraw& pass) override {
    drawTimes.push_back(pass.demoTime);
    if (auto* device = dynamic_cast<RecordingDevice*>(pass.layer.device())) {
      projectionAtDraw = device->transform(D3DTS_PROJECTION);
      worldAtDraw = device->transform(D3DTS_WORLD);
    }
  }
};

class FakeBlobs : public BlobSystem {
 public:
  std::vector<float> phases;
  void drawBlobs(DeviceLayer&, float phase, Image&) override { phases.push_back(phase); }
};

}  // namespace demo::test
