#pragma once
// An image whose quad is a grid of (cols + 1) x (rows + 1) vertices, so that the 2D blobs and the
// tunnel can warp and colour it per vertex. Declared by makegridimage.

#include <cstdint>
#include <vector>

#include "fx/image.h"

namespace demo {

// One grid vertex in vertex format 0x142 (position, diffuse colour, one texture coordinate pair).
struct GridVertex {
  float x, y, z;
  uint32_t colour;
  float u, v;
};
static_assert(sizeof(GridVertex) == 24, "vertex format 0x142 is 24 bytes");

class GridImage : public Image {
 public:
  // The -1 ... 1 square of an image's quad cut into cols x rows cells, texture coordinates running
  // from (u0, v0) to (u1, v1), every vertex white. A size below 1 gives an empty grid that draws
  // nothing; the caller keeps 2 x cols + 1 within the 16-bit indices.
  GridImage(int32_t cols, int32_t rows, float u0, float v0, float u1, float v1);
  ~GridImage() override;
  // One indexed strip per cell row, all rows sharing the one index list; 1.
  int draw(DeviceLayer& layer) override;

  int32_t cols;
  int32_t rows;
  std::vector<GridVertex> vertices;  // row-major, top row first
  std::vector<uint16_t> indices;     // one strip pattern shared by all rows
};

}  // namespace demo
