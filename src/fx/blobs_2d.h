#pragma once
// A 2D blob field: three moving blobs whose potential warps the texture coordinates of a grid image
// and recolours its vertices. Made by make2dblobs, drawn by show2dblobs.

#include <vector>

#include "fx/grid_image.h"

namespace demo {

class Blobs2D {
 public:
  // The grid image is not owned and must outlive the field.
  explicit Blobs2D(GridImage& grid);
  virtual ~Blobs2D();
  Blobs2D(const Blobs2D&) = delete;
  Blobs2D& operator=(const Blobs2D&) = delete;

  // Recomputes the blobs, the field, the grid's texture coordinates and colours for phase s
  // (demo milliseconds x 0.01), then draws the grid; the grid's draw result.
  virtual int updateAndDraw(DeviceLayer& layer, float s);

  GridImage* grid;
  std::vector<float> field;  // (rows + 3) x (cols + 3) potentials
  float blobs[3][3] = {};    // x, y, strength of each blob
};

}  // namespace demo
