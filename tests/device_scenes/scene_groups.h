#pragma once
// The scenes, by subject: one file each.
#include <vector>

#include "device_scene.h"

namespace demo::scenes {

const std::vector<DeviceScene>& rasterScenes();
const std::vector<DeviceScene>& textureScenes();
const std::vector<DeviceScene>& lightingScenes();
const std::vector<DeviceScene>& imageScenes();
const std::vector<DeviceScene>& meshScenes();
const std::vector<DeviceScene>& particleScenes();
const std::vector<DeviceScene>& tunnelScenes();
const std::vector<DeviceScene>& blobScenes();

}  // namespace demo::scenes
