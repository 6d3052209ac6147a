#pragma once
// A 2D blob field: three moving blobs whose potential warps the texture coordinates of a grid image
// and recolours its vertices with a moving blue and green interference pattern. Made by
// make2dblobs, drawn by show2dblobs. Everything is recomputed from the phase each frame; only the
// buffers persist, and the grid keeps the last frame's warp.

#include <cstddef>
#include <vector>

#include "fx/grid_image.h"

namespace demo {

class Blobs2D {
 public:
  struct Blob {
    float x, y;      // centre in the unit square
    float strength;  // numerator of the falloff
  };

  // The grid image is not owned and must outlive the field.
  explicit Blobs2D(GridImage& grid);
  virtual ~Blobs2D();
  Blobs2D(const Blobs2D&) = delete;
  Blobs2D& operator=(const Blobs2D&) = delete;

  // Recomputes the blobs, the field, the grid's texture coordinates and colours for phase s
  // (demo milliseconds x 0.01), then draws the grid; the grid's draw result.
  virtual int updateAndDraw(DeviceLayer& layer, float s);
  // The frame's work without the drawing.
  void update(float s);

  // The potential at field cell (i, j); the vertex (i, j) of the grid sits at cell (i + 1, j + 1).
  float fieldAt(int32_t i, int32_t j) const { return field[static_cast<size_t>(i) * stride_ + j]; }

  GridImage* grid;
  std::vector<float> field;  // (rows + 3) x (cols + 3) potentials, one cell of border all round
  Blob blobs[3] = {};

 private:
  void moveBlobs(float d);
  void computeField();
  void warpVertices(float a);

  size_t stride_;                        // cols + 3
  std::vector<float> columnCoordinate_;  // b of each field column
  std::vector<double> columnBlue_;       // 84 cos((A + j) x 0.1434913) of each vertex column
  std::vector<double> columnGreen_;      // 84 cos((j - A) x 0.3334923)
};

}  // namespace demo
