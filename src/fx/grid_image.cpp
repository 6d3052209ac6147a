#include "fx/grid_image.h"

#include <cstddef>

namespace demo {

GridImage::GridImage(int32_t cols, int32_t rows, float u0, float v0, float u1, float v1) : cols(cols), rows(rows) {
  texU0 = u0;
  texV0 = v0;
  texU1 = u1;
  texV1 = v1;
  if (cols < 1 || rows < 1) return;
  const float stepX = 2.0f / static_cast<float>(cols);
  const float stepY = -2.0f / static_cast<float>(rows);
  const float stepU = (u1 - u0) / static_cast<float>(cols);
  const float stepV = (v1 - v0) / static_cast<float>(rows);
  vertices.reserve(static_cast<size_t>(cols + 1) * static_cast<size_t>(rows + 1));
  for (int32_t i = 0; i <= rows; ++i)
    for (int32_t j = 0; j <= cols; ++j)
      vertices.push_back({static_cast<float>(j) * stepX - 1.0f, static_cast<float>(i) * stepY + 1.0f, 1.0f,
                          0xFFFFFFFFu, u0 + stepU * static_cast<float>(j), v0 + static_cast<float>(i) * stepV});
  // Relative to a row's first vertex: the vertex below, then the one above, column by column.
  indices.reserve(2 * static_cast<size_t>(cols + 1));
  for (int32_t k = 0; k <= cols; ++k) {
    indices.push_back(static_cast<uint16_t>(cols + 1 + k));
    indices.push_back(static_cast<uint16_t>(k));
  }
}

GridImage::~GridImage() = default;

int GridImage::draw(DeviceLayer& layer) {
  if (vertices.empty()) return 1;
  beginDraw(layer);
  RenderDevice& device = *layer.device();
  const auto stripVertices = static_cast<uint32_t>(2 * cols + 2);
  const auto stripTriangles = static_cast<uint32_t>(2 * cols);
  for (int32_t r = 0; r < rows; ++r)
    device.DrawIndexedPrimitiveUP(D3DPT_TRIANGLESTRIP, 0, stripVertices, stripTriangles, indices.data(),
                                  D3DFMT_INDEX16, &vertices[static_cast<size_t>(r) * (cols + 1)], sizeof(GridVertex));
  endDraw(layer);
  return 1;
}

}  // namespace demo
