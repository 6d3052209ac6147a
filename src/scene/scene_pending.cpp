// Placeholder until 3DS scenes land: no scene can be loaded; a scene has no cameras and draws
// nothing.
#include "scene/scene.h"

namespace demo {

Scene::~Scene() = default;

bool Scene::selectCamera(const char*) { return false; }
void Scene::setupCamera(DeviceLayer&, float) {}
void Scene::drawScene(SceneDraw&, float) {}
bool Scene::attachToObject(const char*, NodeAttachment&) { return false; }
Vec3 Scene::cameraEye(DeviceLayer&, float) { return {}; }
Vec3 Scene::cameraTarget(DeviceLayer&, float) { return {}; }
float Scene::cameraFov(float) { return 0.0f; }
float Scene::cameraRoll(float) { return 0.0f; }

std::unique_ptr<Scene> loadScene(DeviceLayer&, const char*) { return nullptr; }

}  // namespace demo
