#pragma once
// Scenes drawn through the RenderDevice interface alone, so that one description runs on any
// backend: natively on the headless OpenGL device, and in the Windows build on Direct3D 8 under
// Wine. Each scene takes snapshots of the back buffer at chosen moments; the snapshots of the two
// backends are then compared pixel for pixel (tests/device_compare).

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/device_layer.h"
#include "platform/render_device.h"

namespace demo::scenes {

// Every scene draws on a 64 x 64 X8R8G8B8 back buffer with a 16-bit depth buffer.
constexpr uint32_t Width = 64, Height = 64;

class SceneTarget {
 public:
  virtual ~SceneTarget() = default;
  virtual RenderDevice& device() = 0;
  // The show's device layer, for scenes made with it (null otherwise).
  virtual DeviceLayer* layer() = 0;
  // Reads the back buffer as it is now; the label names the snapshot within its scene.
  virtual void snapshot(const char* label) = 0;
};

struct DeviceScene {
  const char* name;
  void (*draw)(SceneTarget& target);
  // Made by the show's DeviceLayer::createDevice (windowed, on a 64 x 64 "desktop"), so the scene starts
  // in the show's fixed states (linear filtering, the reflection stage, specular on) and can use the
  // transform stacks; otherwise the device starts in Direct3D's default state.
  bool withLayer = false;
};

// Every scene, in a fixed order.
const std::vector<DeviceScene>& deviceScenes();

}  // namespace demo::scenes
