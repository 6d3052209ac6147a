#include "fx/blobs_2d.h"

#include <cmath>

namespace demo {

namespace {

constexpr float Pi = 3.1415927f;
// Keeps the falloff finite at a blob's centre and sets how far its slope reaches.
constexpr float FalloffFloor = 0.0006f;
constexpr float OneOver255 = 0.003921569f;

uint8_t lowByte(double value) { return static_cast<uint8_t>(static_cast<int32_t>(value) & 0xFF); }

// Cells across or down for a grid of n cells; nothing for an empty grid, which is never warped.
size_t cellsFor(const GridImage& grid, int32_t n, int32_t border) {
  return grid.vertices.empty() ? 0 : static_cast<size_t>(n + border);
}

}  // namespace

Blobs2D::Blobs2D(GridImage& grid)
    : grid(&grid),
      field(cellsFor(grid, grid.rows, 3) * cellsFor(grid, grid.cols, 3)),
      stride_(cellsFor(grid, grid.cols, 3)),
      columnCoordinate_(stride_),
      columnBlue_(cellsFor(grid, grid.cols, 1)),
      columnGreen_(cellsFor(grid, grid.cols, 1)) {}

Blobs2D::~Blobs2D() = default;

int Blobs2D::updateAndDraw(DeviceLayer& layer, float s) {
  update(s);
  return grid->draw(layer);
}

void Blobs2D::update(float s) {
  if (grid->vertices.empty()) return;
  const float a = 2.0f * s;
  moveBlobs(a * 0.01f);
  computeField();
  warpVertices(a);
}

void Blobs2D::moveBlobs(float d) {
  blobs[0] = {0.4f * std::sin(7 * d) + 0.5f, 0.4f * std::cos(4 * d) + 0.5f, 0.001f * (std::sin(Pi * d) + 1)};
  blobs[1] = {0.4f * std::sin(5 * d) + 0.5f, 0.4f * std::cos(3 * d) + 0.5f, 0.001f * (std::cos(9 * d) + 1)};
  blobs[2] = {0.4f * std::cos(3 * d) + 0.5f, 0.4f * std::cos(6.3f * d) + 0.5f, 0.001f * (std::sin(2 * d) + 1)};
}

// strength / (r^6 + floor) summed over the blobs, with r^2 cubed rather than a square root taken.
// The row coordinate divides by cols + 1 and the column coordinate by rows + 1: crossed, but equal
// for the square grids the show uses.
void Blobs2D::computeField() {
  const int32_t rows = grid->rows, cols = grid->cols;
  for (size_t j = 0; j < stride_; ++j)
    columnCoordinate_[j] = static_cast<float>(j) / static_cast<float>(rows + 1);
  for (int32_t i = 0; i < rows + 3; ++i) {
    const float rowCoordinate = static_cast<float>(i) / static_cast<float>(cols + 1);
    float dy2[3];
    for (int k = 0; k < 3; ++k) dy2[k] = (rowCoordinate - blobs[k].y) * (rowCoordinate - blobs[k].y);
    float* out = &field[static_cast<size_t>(i) * stride_];
    for (size_t j = 0; j < stride_; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 3; ++k) {
        const float dx = columnCoordinate_[j] - blobs[k].x;
        const float r2 = dy2[k] + dx * dx;
        sum += blobs[k].strength / (r2 * r2 * r2 + FalloffFloor);
      }
      out[j] = sum;
    }
  }
}

// Texture coordinates pushed against the field's slope; colours from waves along rows and columns,
// scaled by the grid colour's red (blue channel) and green. The colour terms are doubles and wrap
// to their low 8 bits rather than saturating, so bright grid colours show bands.
void Blobs2D::warpVertices(float a) {
  const int32_t rows = grid->rows, cols = grid->cols;
  const double phase = a;
  for (int32_t j = 0; j <= cols; ++j) {
    columnBlue_[j] = 84.0 * std::cos((phase + j) * 0.1434913);
    columnGreen_[j] = 84.0 * std::cos((j - phase) * 0.3334923);
  }
  const uint32_t gridColour = grid->colour;
  const double redScale = static_cast<float>((gridColour >> 16) & 0xFF) * OneOver255;
  const double greenScale = static_cast<float>((gridColour >> 8) & 0xFF) * OneOver255;
  const uint32_t alpha = gridColour & 0xFF000000u;
  const double uStep = 1.0 / (rows + 1);
  const double vStep = 1.0 / (cols + 1);
  for (int32_t i = 0; i <= rows; ++i) {
    const double e = std::cos((i - phase) * 0.1354128);
    const double f = 44.0 * std::sin((i + phase) * 0.1251474);
    const double d = 44.0 * std::cos((i - phase) * 0.2252474);
    const double c = i * vStep;
    GridVertex* row = &grid->vertices[static_cast<size_t>(i) * (cols + 1)];
    for (int32_t j = 0; j <= cols; ++j) {
      const uint8_t blue = lowByte((columnBlue_[j] * e + f + 128.0) * redScale);
      const uint8_t green = lowByte((columnGreen_[j] + d) * greenScale + 128.0);
      row[j].colour = alpha | uint32_t{green} << 8 | blue;
      row[j].u = static_cast<float>(j * uStep - (fieldAt(i + 1, j + 2) - fieldAt(i + 1, j)));
      row[j].v = static_cast<float>(c - (fieldAt(i + 2, j + 1) - fieldAt(i, j + 1)));
    }
  }
}

}  // namespace demo
