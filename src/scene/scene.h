#pragma once
// A loaded 3DS scene as the timeline sees it: the fields its commands change (setfarplane,
// fadesalpha, fadewalpha, selectcam) and the operations playscene, selectcam and showtunnel call.
// The operations are virtual so that the timeline can be driven by a scripted scene in tests.

#include <cstdint>
#include <memory>

#include "gfx/device_layer.h"
#include "scene/node_attachment.h"
#include "scene/vec3.h"

namespace demo {

struct Camera;

class Scene {
 public:
  Scene() = default;
  virtual ~Scene();
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  // Makes the camera of that exact name current (the one read last from the file wins). False,
  // changing nothing, when there is none.
  virtual bool selectCamera(const char* name);
  // Writes the projection and the view of the current camera at the frame into the transform
  // stacks, taking the scene's first camera when none is current.
  virtual void setupCamera(DeviceLayer& layer, float frame);
  // Draws the node hierarchy at the frame; the scene's alphas go into the pass.
  virtual void drawScene(SceneDraw& pass, float frame);

  // partobject: hangs the attachment (not owned) on the object node of that name, compared without
  // regard to case, in place of what hung there; the replaced mesh stays with the scene. False,
  // changing nothing, when no node has the name or it is not an object node ("$ROOT$" names the root).
  virtual bool attachToObject(const char* objectName, NodeAttachment& attachment);

  // The current camera at the frame (which must be set): world positions of its eye and target,
  // field of view and roll in radians.
  virtual Vec3 cameraEye(DeviceLayer& layer, float frame);
  virtual Vec3 cameraTarget(DeviceLayer& layer, float frame);
  virtual float cameraFov(float frame);
  virtual float cameraRoll(float frame);

  float farPlane = 1000.0f;
  float nearPlane = 1.0f;
  float wireAlpha = 0.0f;   // 0 switches the wireframe pass off
  float solidAlpha = 1.0f;  // 0 switches the solid pass off
  uint32_t firstFrame = 0;  // animation segment, 0 and 0 without one
  uint32_t lastFrame = 0;
  Camera* currentCamera = nullptr;
};

// loadscene: null when the file cannot be read.
std::unique_ptr<Scene> loadScene(DeviceLayer& layer, const char* fileName);

}  // namespace demo
