#include "support/scene_files.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "scene/matrix.h"

namespace demo::test {

namespace {

// The mesh's vertices where the frame puts them: its node's transform and its ancestors', with the
// pivot, as drawing applies them (the top of the world stack is used and given back).
template <typename Visit>
void forEachPlacedVertex(Scene& scene, DeviceLayer& layer, float frame, Visit visit) {
  std::vector<SceneNode*> chain;
  for (const auto& node : scene.nodes) {
    if (node->type != SceneNode::Object) continue;
    auto* object = static_cast<ObjectNode*>(node.get());
    const auto* mesh = dynamic_cast<const Mesh*>(object->attachment);
    if (!mesh) continue;
    chain.clear();
    for (SceneNode* n = object; n; n = n->parent) chain.push_back(n);
    layer.pushTransform();
    layer.topTransform() = DeviceLayer::identity;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->evaluate(layer, frame);
    preTranslate(layer.topTransform(), -1.0f * object->pivot);
    for (const VertexNormalTex& v : mesh->vertices) visit(transformPoint({v.x, v.y, v.z}, layer.topTransform()));
    layer.popTransform();
  }
}

}  // namespace

Camera& addViewerCamera(Scene& scene, DeviceLayer& layer, float frame, bool fromBehind) {
  Vec3 low{FLT_MAX, FLT_MAX, FLT_MAX}, high{-FLT_MAX, -FLT_MAX, -FLT_MAX};
  bool any = false;
  forEachPlacedVertex(scene, layer, frame, [&](const Vec3& p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    any = true;
  });
  if (!any) low = high = Vec3{};
  const Vec3 centre = 0.5f * (low + high);
  const float radius = std::max(0.5f * length(high - low), 1.0f);
  auto camera = std::make_unique<Camera>();
  std::snprintf(camera->name, sizeof camera->name, "Viewer");
  camera->stored.target = centre;
  const float side = fromBehind ? -1.0f : 1.0f;
  camera->stored.position = centre + side * Vec3{radius * 0.9f, radius * 1.1f, -radius * 2.2f};
  camera->stored.lens = 2400.0f / 50.0f;
  scene.farPlane = std::max(scene.farPlane, radius * 8);
  scene.cameras.insert(scene.cameras.begin(), std::move(camera));
  scene.currentCamera = scene.cameras.front().get();
  if (scene.lights.empty()) {
    // A white light above and behind the viewer's right shoulder, reaching everything.
    auto light = std::make_unique<Light>();
    std::snprintf(light->name, sizeof light->name, "ViewerLight");
    light->storedPosition = centre + side * Vec3{radius * 0.4f, radius * 0.6f, -radius * 0.3f};
    light->storedColour = {1, 1, 1};
    light->range = 1e9f;
    scene.lights.push_back(std::move(light));
  }
  return *scene.currentCamera;
}

void drawSceneFrame(Scene& scene, DeviceLayer& layer, Random& random, float frame) {
  layer.topTransform() = DeviceLayer::identity;
  scene.setupCamera(layer, frame);
  SceneDraw pass{layer, random, 0};
  scene.drawScene(pass, frame);
}

}  // namespace demo::test
