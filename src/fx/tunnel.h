#pragma once
// The ray-cast tunnel: every vertex of a grid image gets the texture coordinates of the point where
// its view ray meets a tube around the world z axis; then the grid image is drawn.

#include "fx/grid_image.h"
#include "scene/vec3.h"

namespace demo {

// fov is accepted and not used: the spread of the rays is fixed. The grid image's draw result.
int drawTunnel(DeviceLayer& layer, GridImage& grid, const Vec3& eye, const Vec3& target, float fov, float roll,
               float distance);

}  // namespace demo
