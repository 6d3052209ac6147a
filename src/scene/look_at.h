#pragma once
// The view matrix of a camera: a look-at turned about the line of sight by the camera's roll.

#include "scene/matrix.h"

namespace demo {

// L × Rz(−roll), L being the look-at matrix with rows (r.x, u.x, f.x, 0), (r.y, u.y, f.y, 0),
// (r.z, u.z, f.z, 0), (−eye·r, −eye·u, −eye·f, 1) for f = the direction from eye to target,
// r = normalise(up × d) and u = normalise(d × (up × d)), d = target − eye. Roll in radians.
//
// Degenerate cameras still get a view, never NaN: an eye on the target looks along +z (the
// direction a camera with no rotation faces), and a line of sight along up (or an up of no length)
// takes as up the world axis closest to perpendicular to it, z before x before y on a tie, so a
// camera looking straight down with up (0, 1, 0) sees +x to the right and +z at the top, which is
// where the view tends to as the camera tilts down towards that pose from the +z side.
Matrix lookAt(const Vec3& eye, const Vec3& target, const Vec3& up, float roll);

}  // namespace demo
