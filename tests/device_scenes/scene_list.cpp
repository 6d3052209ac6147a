#include "scene_groups.h"

namespace demo::scenes {

const std::vector<DeviceScene>& deviceScenes() {
  static const std::vector<DeviceScene> all = [] {
    std::vector<DeviceScene> scenes;
    for (const auto* group : {&rasterScenes(), &textureScenes(), &lightingScenes(), &imageScenes(), &meshScenes(),
                              &particleScenes(), &tunnelScenes(), &blobScenes()})
      scenes.insert(scenes.end(), group->begin(), group->end());
    return scenes;
  }();
  return all;
}

}  // namespace demo::scenes
