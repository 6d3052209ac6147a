// Placeholder until grid images land: the grid is not built and draws nothing.
#include "fx/grid_image.h"

namespace demo {

GridImage::GridImage(int32_t cols, int32_t rows, float u0, float v0, float u1, float v1) : cols(cols), rows(rows) {
  texU0 = u0;
  texV0 = v0;
  texU1 = u1;
  texV1 = v1;
}

GridImage::~GridImage() = default;

int GridImage::draw(DeviceLayer&) { return 1; }

}  // namespace demo
