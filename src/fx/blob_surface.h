#pragma once
// The iso-surface of a sum of metaball fields, found by following it through a grid of cells from
// each ball's cell instead of scanning every cell: a cell crossed by the surface leads on to its face
// neighbours, which are visited first, and is then cut into triangles that go to addCell. Field
// values and normals are cached per grid point for the frame.

#include <cstdint>
#include <memory>

#include "scene/vec3.h"

namespace demo {

// One metaball.
class BlobSource {
 public:
  virtual ~BlobSource() = default;
  // This ball's contribution at p: (1 - d^2 / R^2)^2 x strength inside the radius, 0 outside.
  virtual float fieldAt(const Vec3& p) const;
  virtual Vec3 centre() const { return position; }

  BlobSource* next = nullptr;  // the surface's list
  Vec3 position;
  float radius = 0.0f;  // for information; the field reads the two below
  float radiusSq = 0.0f;
  float invRadiusSq = 0.0f;
  float strength = 0.0f;
};

// A vertex on a crossed edge of a cell, before the batch gives it texture coordinates.
struct SurfaceVertex {
  Vec3 position;
  Vec3 normal;
};

class BlobSurface {
 public:
  // A grid point's flag word. Visited belongs to the cell whose lowest corner the point is.
  enum Flag : uint16_t { Visited = 1, ValueKnown = 2, NormalKnown = 4, Inside = 8 };

  struct GridPoint {
    Vec3 position;
    Vec3 normal;
    float value = 0.0f;  // field minus threshold: inside when >= 0
  };

  // What one extraction computed, to show what following the surface saves over a full scan.
  struct Work {
    uint32_t values = 0;   // grid points whose field value was computed
    uint32_t normals = 0;  // grid points whose normal was computed
    uint32_t cells = 0;    // cells visited
    uint32_t floods = 0;   // floods started from a crossed cell on a ball's march
  };

  BlobSurface() = default;
  virtual ~BlobSurface() = default;
  BlobSurface(const BlobSurface&) = delete;
  BlobSurface& operator=(const BlobSurface&) = delete;

  // The cell's vertices, one per crossed edge in increasing edge order, and its triangle row (vertex
  // numbers in threes, ended by CubeTables::RowEnd).
  virtual void addCell(int count, const SurfaceVertex* vertices, const int8_t* row) = 0;
  virtual void flush() = 0;

  // Room for (cells + 3) points per axis: the corners of the cells that can be visited (1 ... cells),
  // the points beside them that their normals read (0 and cells + 1), and one more that nothing
  // reads. False when memory runs out; the surface then has no grid.
  bool allocateGrid(uint8_t cellsX, uint8_t cellsY, uint8_t cellsZ);
  // Appends to the list (not owned; it must outlive the surface or be removed with clearSources).
  void addSource(BlobSource& source);
  void clearSources();

  // Builds this frame's surface: addCell for every crossed cell the balls' marches and their floods
  // reach, then flush.
  void extract();

  const Work& work() const { return work_; }
  bool hasGrid() const { return points_ != nullptr; }
  // Cell counts per axis; points run from 0 to cells + 2, and cells 1 to cells - 1 can be visited.
  uint8_t cellsX() const { return cellsX_; }
  uint8_t cellsY() const { return cellsY_; }
  uint8_t cellsZ() const { return cellsZ_; }
  // Point (i, j, k) as the last extraction left it; i, j, k within 0 ... cells + 2.
  uint16_t flags(int i, int j, int k) const { return flags_[pointIndex(i, j, k)]; }
  const GridPoint& point(int i, int j, int k) const { return points_[pointIndex(i, j, k)]; }

  Vec3 boundsMin{-1.0f, -1.0f, -1.0f};
  Vec3 boundsMax{1.0f, 1.0f, 1.0f};
  Vec3 step;  // cell size per axis, recomputed by each extraction
  float threshold = 0.0f;
  BlobSource* sourcesHead = nullptr;
  BlobSource* sourcesTail = nullptr;

 protected:
  struct CellIndex {
    int i, j, k;
  };
  // The cell whose vertices addCell is being given (its lowest corner's point).
  CellIndex cellBeingAdded() const { return cellBeingAdded_; }

 private:
  // A cell waiting on the work stack, with the next of its six neighbours to try.
  struct Visit {
    uint8_t i, j, k, next;
  };

  uint32_t pointIndex(int i, int j, int k) const {
    return static_cast<uint32_t>(k) * strideZ_ + static_cast<uint32_t>(j) * strideY_ + static_cast<uint32_t>(i);
  }
  void seed(const Vec3& centre);
  // Point (i, j, k) at index: the caller knows both, which saves dividing one into the other.
  float value(uint32_t index, int i, int j, int k);
  const Vec3& normal(uint32_t index, int i, int j, int k);
  // Marks the cell visited and evaluates its corners; its case (0 or 255: not crossed).
  uint8_t enter(const Visit& cell);
  bool neighbour(const Visit& cell, int which, Visit& out) const;
  void visit(Visit cell);
  void emitCell(const Visit& cell);

  std::unique_ptr<GridPoint[]> points_;
  // Kept apart from the points so that clearing them each frame touches a sixteenth of the memory.
  std::unique_ptr<uint16_t[]> flags_;
  std::unique_ptr<Visit[]> stack_;  // one entry per cell that can be visited at most
  // Set only with the grid, so that no index can outgrow it.
  uint8_t cellsX_ = 0, cellsY_ = 0, cellsZ_ = 0;
  uint32_t pointCount_ = 0;
  uint32_t strideY_ = 0, strideZ_ = 0;
  uint32_t cornerOffset_[8] = {};
  Work work_;
  CellIndex cellBeingAdded_{};
};

}  // namespace demo
