#include "fx/blob_surface.h"

#include <cmath>
#include <cstring>
#include <new>

#include "fx/cube_tables.h"

namespace demo {

namespace {

Vec3 lerp(const Vec3& a, const Vec3& b, float t) {
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}

// Unit length, or zero where the field is flat: a zero gradient has no direction, and dividing by
// its length would make every later use of it NaN.
Vec3 unitOrZero(const Vec3& v) {
  const float lengthSq = v.x * v.x + v.y * v.y + v.z * v.z;
  if (!(lengthSq > 0.0f)) return {};
  const float scale = 1.0f / std::sqrt(lengthSq);
  return {v.x * scale, v.y * scale, v.z * scale};
}

// The cell along one axis that holds a coordinate, counted from 1 as the cells are: false when there
// is none (outside the cells that can be visited, or no number at all).
bool cellOf(float coordinate, float lowest, float step, uint8_t cells, int& index) {
  const float q = (coordinate - lowest) / step;
  // Tested before the conversion, which is undefined for numbers an int cannot hold.
  if (!(q > -1.0f && q < static_cast<float>(cells) - 1.0f)) return false;
  index = static_cast<int>(q) + 1;
  return index < cells;
}

}  // namespace

float BlobSource::fieldAt(const Vec3& p) const {
  const float dx = p.x - position.x, dy = p.y - position.y, dz = p.z - position.z;
  const float distanceSq = dx * dx + dy * dy + dz * dz;
  if (!(distanceSq < radiusSq)) return 0.0f;
  const float falloff = 1.0f - distanceSq * invRadiusSq;
  return falloff * falloff * strength;
}

bool BlobSurface::allocateGrid(uint8_t cellsX, uint8_t cellsY, uint8_t cellsZ) {
  points_.reset();
  flags_.reset();
  stack_.reset();
  cellsX_ = cellsY_ = cellsZ_ = 0;
  pointCount_ = strideY_ = strideZ_ = 0;
  const uint32_t count = (cellsX + 3u) * (cellsY + 3u) * (cellsZ + 3u);
  auto visitable = [](uint8_t cells) { return cells > 1 ? cells - 1u : 0u; };
  const uint32_t cells = visitable(cellsX) * visitable(cellsY) * visitable(cellsZ);
  points_.reset(new (std::nothrow) GridPoint[count]);
  flags_.reset(new (std::nothrow) uint16_t[count]());
  stack_.reset(new (std::nothrow) Visit[cells ? cells : 1]);
  if (!points_ || !flags_ || !stack_) {
    points_.reset();
    flags_.reset();
    stack_.reset();
    return false;
  }
  cellsX_ = cellsX;
  cellsY_ = cellsY;
  cellsZ_ = cellsZ;
  pointCount_ = count;
  strideY_ = cellsX + 3u;
  strideZ_ = strideY_ * (cellsY + 3u);
  for (int corner = 0; corner < 8; ++corner)
    cornerOffset_[corner] = pointIndex(cubeCorners[corner][0], cubeCorners[corner][1], cubeCorners[corner][2]);
  return true;
}

void BlobSurface::addSource(BlobSource& source) {
  source.next = nullptr;
  if (sourcesTail)
    sourcesTail->next = &source;
  else
    sourcesHead = &source;
  sourcesTail = &source;
}

void BlobSurface::clearSources() {
  for (BlobSource* source = sourcesHead; source;) {
    BlobSource* next = source->next;
    source->next = nullptr;
    source = next;
  }
  sourcesHead = sourcesTail = nullptr;
}

void BlobSurface::extract() {
  work_ = {};
  if (points_) {
    step = {(boundsMax.x - boundsMin.x) / static_cast<float>(cellsX_),
            (boundsMax.y - boundsMin.y) / static_cast<float>(cellsY_),
            (boundsMax.z - boundsMin.z) / static_cast<float>(cellsZ_)};
    // Positions are not reset with the flags: a point's position is written when its value is, and
    // nothing reads one before.
    std::memset(flags_.get(), 0, pointCount_ * sizeof(uint16_t));
    for (const BlobSource* source = sourcesHead; source; source = source->next) seed(source->centre());
  }
  flush();
}

// From the ball's cell along +x until the grid ends or a cell already visited: a ball whose surface
// is apart from the others' is found by its own march, one inside another's by the first flood.
void BlobSurface::seed(const Vec3& centre) {
  int i = 0, j = 0, k = 0;
  if (!cellOf(centre.x, boundsMin.x, step.x, cellsX_, i) || !cellOf(centre.y, boundsMin.y, step.y, cellsY_, j) ||
      !cellOf(centre.z, boundsMin.z, step.z, cellsZ_, k))
    return;
  while (i < cellsX_ && !(flags_[pointIndex(i, j, k)] & Visited)) {
    visit({static_cast<uint8_t>(i), static_cast<uint8_t>(j), static_cast<uint8_t>(k), 0});
    ++i;
  }
}

float BlobSurface::value(uint32_t index, int i, int j, int k) {
  GridPoint& point = points_[index];
  uint16_t& flags = flags_[index];
  if (flags & ValueKnown) return point.value;
  // Point 1 lies on boundsMin; points 0 and cells + 2 lie a step beyond the cells.
  point.position = {boundsMin.x + static_cast<float>(i - 1) * step.x, boundsMin.y + static_cast<float>(j - 1) * step.y,
                    boundsMin.z + static_cast<float>(k - 1) * step.z};
  float sum = -threshold;
  for (const BlobSource* source = sourcesHead; source; source = source->next) sum += source->fieldAt(point.position);
  point.value = sum;
  flags = static_cast<uint16_t>(flags | ValueKnown | (sum >= 0.0f ? Inside : 0));
  ++work_.values;
  return sum;
}

// Central differences through the cached evaluator: at the border of the visited cells the
// neighbours were never evaluated by a visit, and reading them raw would read last frame's values.
const Vec3& BlobSurface::normal(uint32_t index, int i, int j, int k) {
  GridPoint& point = points_[index];
  if (!(flags_[index] & NormalKnown)) {
    const Vec3 gradient{value(index + 1, i + 1, j, k) - value(index - 1, i - 1, j, k),
                        value(index + strideY_, i, j + 1, k) - value(index - strideY_, i, j - 1, k),
                        value(index + strideZ_, i, j, k + 1) - value(index - strideZ_, i, j, k - 1)};
    point.normal = unitOrZero(gradient);
    flags_[index] = static_cast<uint16_t>(flags_[index] | NormalKnown);
    ++work_.normals;
  }
  return point.normal;
}

uint8_t BlobSurface::enter(const Visit& cell) {
  const uint32_t corner0 = pointIndex(cell.i, cell.j, cell.k);
  flags_[corner0] = static_cast<uint16_t>(flags_[corner0] | Visited);
  ++work_.cells;
  unsigned inside = 0;
  for (int corner = 0; corner < 8; ++corner) {
    const uint8_t* at = cubeCorners[corner];
    if (value(corner0 + cornerOffset_[corner], cell.i + at[0], cell.j + at[1], cell.k + at[2]) >= 0.0f)
      inside |= 1u << corner;
  }
  return static_cast<uint8_t>(inside);
}

// The six face neighbours in visiting order: +x, -x, +y, -y, +z, -z, each only within cells
// 1 ... cells - 1.
bool BlobSurface::neighbour(const Visit& cell, int which, Visit& out) const {
  out = {cell.i, cell.j, cell.k, 0};
  switch (which) {
    case 0:
      if (cell.i + 1 >= cellsX_) return false;
      ++out.i;
      return true;
    case 1:
      if (cell.i <= 1) return false;
      --out.i;
      return true;
    case 2:
      if (cell.j + 1 >= cellsY_) return false;
      ++out.j;
      return true;
    case 3:
      if (cell.j <= 1) return false;
      --out.j;
      return true;
    case 4:
      if (cell.k + 1 >= cellsZ_) return false;
      ++out.k;
      return true;
    case 5:
      if (cell.k <= 1) return false;
      --out.k;
      return true;
    default:
      return false;
  }
}

// The flood in the order a recursive visit takes (mark, evaluate, visit the crossed cell's
// neighbours in turn, then cut it), kept on a stack of our own: a surface can wind through most of
// the grid's 59,319 visitable cells, far deeper than a thread's stack should nest.
void BlobSurface::visit(Visit start) {
  if (flags_[pointIndex(start.i, start.j, start.k)] & Visited) return;
  auto crossed = [](uint8_t c) { return c != 0 && c != 255; };
  if (!crossed(enter(start))) return;
  ++work_.floods;
  uint32_t depth = 0;
  stack_[depth++] = start;
  while (depth > 0) {
    Visit& cell = stack_[depth - 1];
    bool deeper = false;
    while (cell.next < 6 && !deeper) {
      Visit next{};
      if (!neighbour(cell, cell.next++, next) || (flags_[pointIndex(next.i, next.j, next.k)] & Visited)) continue;
      // Each cell is entered once, so the stack never holds more than the visitable cells.
      if (crossed(enter(next))) {
        stack_[depth++] = next;
        deeper = true;
      }
    }
    if (deeper) continue;
    emitCell(cell);
    --depth;
  }
}

void BlobSurface::emitCell(const Visit& cell) {
  const uint32_t corner0 = pointIndex(cell.i, cell.j, cell.k);
  unsigned inside = 0;
  for (int corner = 0; corner < 8; ++corner)
    if (flags_[corner0 + cornerOffset_[corner]] & Inside) inside |= 1u << corner;
  const uint16_t mask = cubeTables.edgeMask[inside];
  SurfaceVertex vertices[12];
  int count = 0;
  for (int e = 0; e < 12; ++e) {
    if (!(mask >> e & 1)) continue;
    const uint8_t* from = cubeCorners[cubeEdges[e][0]];
    const uint8_t* to = cubeCorners[cubeEdges[e][1]];
    const uint32_t a = corner0 + cornerOffset_[cubeEdges[e][0]];
    const uint32_t b = corner0 + cornerOffset_[cubeEdges[e][1]];
    const float va = points_[a].value, vb = points_[b].value;
    // One end is >= 0 and the other < 0, so the divisor is never 0 and t stays within 0 ... 1.
    const float t = va / (va - vb);
    const Vec3& na = normal(a, cell.i + from[0], cell.j + from[1], cell.k + from[2]);
    const Vec3& nb = normal(b, cell.i + to[0], cell.j + to[1], cell.k + to[2]);
    vertices[count++] = {lerp(points_[a].position, points_[b].position, t), unitOrZero(lerp(na, nb, t))};
  }
  cellBeingAdded_ = {cell.i, cell.j, cell.k};
  addCell(count, vertices, cubeTables.triangleRows[inside]);
}

}  // namespace demo
