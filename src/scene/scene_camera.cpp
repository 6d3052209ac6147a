// Selecting a camera, its position, target, field of view and roll at a frame, and the projection
// and view it gives.

#include <algorithm>
#include <cstring>

#include "scene/look_at.h"
#include "scene/perspective.h"
#include "scene/matrix.h"
#include "scene/scene.h"

namespace demo {

namespace {

constexpr float DegreesToRadians = 0.017453292f;
// A 35 mm lens of this focal length (millimetres) sees this many degrees: fov = 2400 / lens.
constexpr float LensTimesFov = 2400.0f;
constexpr float DefaultLens = 50.0f;  // what a camera of lens 0 is given
// A field of view this close to 0 or to half a turn would make the projection infinite.
constexpr float SmallestFov = 0.001f;
constexpr float LargestFov = 3.1405927f;  // pi - SmallestFov
// The far plane is kept at least this far behind the near plane.
constexpr float LeastDepthRatio = 1.001f;

}  // namespace

bool Scene::selectCamera(const char* name) {
  for (const auto& camera : cameras)
    if (std::strcmp(camera->name, name) == 0) {
      currentCamera = camera.get();
      return true;
    }
  return false;
}

void Scene::evaluateAncestors(DeviceLayer& layer, const SceneNode& node, float frame) {
  ancestors_.clear();
  for (SceneNode* p = node.parent; p; p = p->parent) ancestors_.push_back(p);
  for (auto it = ancestors_.rbegin(); it != ancestors_.rend(); ++it) (*it)->evaluate(layer, frame);
}

// The track's value at the frame in the space the top of the world stack maps to, carried by the
// node's ancestors; the stored point where there is no node.
Vec3 Scene::placedPoint(DeviceLayer& layer, const SceneNode* node, const VectorTrack* track, const Vec3& stored,
                        float frame) {
  layer.pushTransform();
  Vec3 local = stored;
  if (node) {
    evaluateAncestors(layer, *node, frame);
    local = evalVector(*track, frame);
  }
  const Vec3 placed = transformPoint(local, layer.topTransform());
  layer.popTransform();
  return placed;
}

Vec3 Scene::cameraEye(DeviceLayer& layer, float frame) {
  if (!currentCamera) return {};
  const CameraNode* node = currentCamera->cameraNode;
  return placedPoint(layer, node, node ? &node->position : nullptr, currentCamera->stored.position, frame);
}

Vec3 Scene::cameraTarget(DeviceLayer& layer, float frame) {
  if (!currentCamera) return {};
  const TargetNode* node = currentCamera->targetNode;
  return placedPoint(layer, node, node ? &node->position : nullptr, currentCamera->stored.target, frame);
}

float Scene::cameraFov(float frame) {
  if (!currentCamera) return 0.0f;
  const CameraNode* node = currentCamera->cameraNode;
  if (node && !node->fov.keys.empty()) return evalScalar(node->fov, frame) * DegreesToRadians;
  // Without a field-of-view track the lens decides.
  const float lens = currentCamera->stored.lens > 0.0f ? currentCamera->stored.lens : DefaultLens;
  return LensTimesFov / lens * DegreesToRadians;
}

float Scene::cameraRoll(float frame) {
  if (!currentCamera) return 0.0f;
  const CameraNode* node = currentCamera->cameraNode;
  return (node ? evalScalar(node->roll, frame) : currentCamera->stored.bank) * DegreesToRadians;
}

void Scene::setupCamera(DeviceLayer& layer, float frame) {
  if (!currentCamera) {
    if (cameras.empty()) return;
    currentCamera = cameras.front().get();  // the camera read last from the file
  }
  const float fov = std::clamp(cameraFov(frame), SmallestFov, LargestFov);
  const float farDistance = std::max(farPlane, nearPlane * LeastDepthRatio);
  const int width = layer.screenWidth(), height = layer.screenHeight();
  const float ratio = width > 0 && height > 0 ? static_cast<float>(height) / static_cast<float>(width) : 0.75f;
  layer.selectTransformStack(1);
  layer.topTransform() = perspective(fov, ratio, nearPlane, farDistance);
  layer.selectTransformStack(0);
  const Vec3 eye = cameraEye(layer, frame);
  const Vec3 target = cameraTarget(layer, frame);
  layer.topTransform() = lookAt(eye, target, Vec3{0, 1, 0}, cameraRoll(frame));
}

}  // namespace demo
