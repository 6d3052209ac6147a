#pragma once
// The drive: the camera flight the show's tunnel is seen along, written as a 3DS scene at build time,
// and the pictures the drive draws with. The scene holds one camera, "TunnelCam", with its target:
// in the engine's space (y up) it flies along +z inside the tube around the z axis (radius 500),
// circling the axis, looking ahead, rolling gently, and speeding up into a full roll in the snare
// fill at the end. Its segment is frames 0 to 640: ten frames a row of the tune's drive pattern, which
// demo.run plays over the pattern's 7294 ms.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "writers/3ds_writer.h"

namespace demo::show {

constexpr uint32_t DriveLastFrame = 640;

Scene3ds driveScene();

// tube.tga (the tube's wall) and drivecaptions.tga (two caption lines), by file name.
std::vector<std::pair<std::string, Canvas>> drivePictures();

}  // namespace demo::show
