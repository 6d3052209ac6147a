#pragma once
// Runs a scene on a fresh device, as Direct3D creates it (default state), and collects its snapshots.

#include <cstdint>
#include <string>
#include <vector>

#include "device_scene.h"

namespace demo::scenes {

struct Snapshot {
  std::string name;  // "scene.label"
  std::vector<uint8_t> rgba;  // Width x Height, top row first
};

// How the backend reads its back buffer: 8-bit RGBA, top row first.
using ReadBack = bool (*)(RenderDevice& device, std::vector<uint8_t>& rgba);

// Creates the device (HAL, software vertex processing, windowed 64 x 64 X8R8G8B8 with D16 depth),
// draws the scene between BeginScene and EndScene, and appends its snapshots. False with the reason
// when the device cannot be made or a snapshot cannot be read.
bool runScene(const DeviceScene& scene, Direct3D& direct3d, WindowHandle window, ReadBack readBack,
              std::vector<Snapshot>& snapshots, std::string& error);

}  // namespace demo::scenes
