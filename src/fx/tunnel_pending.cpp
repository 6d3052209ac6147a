// Placeholder until the tunnel lands: the grid is drawn unchanged.
#include "fx/tunnel.h"

namespace demo {

int drawTunnel(DeviceLayer& layer, GridImage& grid, const Vec3&, const Vec3&, float, float, float) {
  return grid.draw(layer);
}

}  // namespace demo
