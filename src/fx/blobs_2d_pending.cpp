// Placeholder until the 2D blobs land: the field draws nothing.
#include "fx/blobs_2d.h"

namespace demo {

Blobs2D::Blobs2D(GridImage& grid) : grid(&grid) {}

Blobs2D::~Blobs2D() = default;

int Blobs2D::updateAndDraw(DeviceLayer&, float) { return 1; }

}  // namespace demo
