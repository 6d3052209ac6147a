#pragma once
// The ray-cast tunnel: every vertex of a grid image gets the texture coordinates of the point where
// its view ray meets a tube around the world z axis; then the grid image is drawn. The tube has no
// geometry: the grid's texture is wrapped round it by the coordinates alone, and a vertex whose ray
// misses the tube turns transparent black.

#include "fx/grid_image.h"
#include "scene/vec3.h"

namespace demo {

// The ray fan of one camera: the ray through grid vertex (row i, column j) is a·A + b·B + C with
// a = j / cols - 1 and b = 1 - i / rows, so the grid shows one quadrant of the fan and the ray C
// passes through the bottom-right vertex.
struct TunnelRays {
  Vec3 a, b, c;
};

// The fan for an eye looking at the target, turned by roll (radians). False when the camera has no
// basis: the eye on the target, a line of sight along the y axis, or values that are not finite.
bool tunnelRays(const Vec3& eye, const Vec3& target, float roll, TunnelRays& rays);

// Rewrites the colour and texture coordinates of every grid vertex for a tube of diameter distance:
// u runs once along 3000 units of z, v once round the tube. A ray that misses keeps its coordinates
// and turns 0x00000000; one parallel to the axis, or whose intersection is not a finite number,
// counts as a miss. False, changing nothing, without a basis or without cells.
bool castTunnel(GridImage& grid, const Vec3& eye, const Vec3& target, float roll, float distance);

// castTunnel, then the grid image's draw and its result; without a basis or cells nothing is drawn
// (1). fov is accepted and not used: the spread of the rays is fixed.
int drawTunnel(DeviceLayer& layer, GridImage& grid, const Vec3& eye, const Vec3& target, float fov, float roll,
               float distance);

}  // namespace demo
