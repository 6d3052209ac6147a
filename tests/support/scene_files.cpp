#include "support/scene_files.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>

#include "scene/matrix.h"

namespace demo::test {

Camera& addViewerCamera(Scene& scene) {
  Vec3 low{FLT_MAX, FLT_MAX, FLT_MAX}, high{-FLT_MAX, -FLT_MAX, -FLT_MAX};
  bool any = false;
  for (const auto& mesh : scene.meshes)
    for (const VertexNormalTex& v : mesh->vertices) {
      low = {std::min(low.x, v.x), std::min(low.y, v.y), std::min(low.z, v.z)};
      high = {std::max(high.x, v.x), std::max(high.y, v.y), std::max(high.z, v.z)};
      any = true;
    }
  if (!any) low = high = Vec3{};
  const Vec3 centre = 0.5f * (low + high);
  const float radius = std::max(0.5f * length(high - low), 1.0f);
  auto camera = std::make_unique<Camera>();
  std::snprintf(camera->name, sizeof camera->name, "Viewer");
  camera->stored.target = centre;
  camera->stored.position = centre + Vec3{radius * 0.9f, radius * 1.1f, -radius * 2.2f};
  camera->stored.lens = 2400.0f / 50.0f;
  scene.farPlane = std::max(scene.farPlane, radius * 8);
  scene.cameras.insert(scene.cameras.begin(), std::move(camera));
  scene.currentCamera = scene.cameras.front().get();
  return *scene.currentCamera;
}

void drawSceneFrame(Scene& scene, DeviceLayer& layer, Random& random, float frame) {
  layer.topTransform() = DeviceLayer::identity;
  scene.setupCamera(layer, frame);
  SceneDraw pass{layer, random, 0};
  scene.drawScene(pass, frame);
}

}  // namespace demo::test
