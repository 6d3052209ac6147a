// The metaball surface: the flood from the balls, the per-point caches, and the shape of what comes
// out (a closed, consistently oriented surface away from the grid's border).

#include <array>
#include <cmath>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "fx/blob_surface.h"
#include "fx/cube_tables.h"

namespace demo::test {
namespace {

using Cell = std::array<int, 3>;

// Keeps everything it is given.
class CollectingSurface : public BlobSurface {
 public:
  struct Added {
    Cell at;
    std::vector<SurfaceVertex> vertices;
    std::vector<int> row;
  };
  std::vector<Added> cells;
  int flushes = 0;

  void addCell(int count, const SurfaceVertex* vertices, const int8_t* row) override {
    Added added{{cellBeingAdded().i, cellBeingAdded().j, cellBeingAdded().k}, {vertices, vertices + count}, {}};
    for (int i = 0; row[i] != CubeTables::RowEnd; ++i) added.row.push_back(row[i]);
    cells.push_back(added);
  }
  void flush() override { ++flushes; }

  std::vector<Cell> order() const {
    std::vector<Cell> out;
    for (const Added& added : cells) out.push_back(added.at);
    return out;
  }
};

using PointField = std::function<float(int, int, int)>;

// A field given grid point by grid point (every evaluation happens on a grid point), counting how
// often it is asked.
class PointSource : public BlobSource {
 public:
  PointSource(const BlobSurface& surface, PointField field) : surface_(surface), field_(std::move(field)) {}
  float fieldAt(const Vec3& p) const override {
    ++calls;
    auto index = [](float c, float lowest, float step) { return static_cast<int>(std::lround((c - lowest) / step)) + 1; };
    return field_(index(p.x, surface_.boundsMin.x, surface_.step.x), index(p.y, surface_.boundsMin.y, surface_.step.y),
                  index(p.z, surface_.boundsMin.z, surface_.step.z));
  }
  mutable int calls = 0;

 private:
  const BlobSurface& surface_;
  PointField field_;
};

// Values from -1 to -0.05 and 0.05 to 1, so that no vertex lies closer than 1/21 of a step to a grid
// point and every vertex can be told by the grid edge it lies on.
PointField noise(uint32_t seed) {
  return [seed](int i, int j, int k) {
    uint32_t h = static_cast<uint32_t>(i) * 73856093u ^ static_cast<uint32_t>(j) * 19349663u ^
                 static_cast<uint32_t>(k) * 83492791u ^ seed * 2654435761u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    const float magnitude = 0.05f + 0.95f * static_cast<float>(h >> 8 & 0xFFFF) / 65535.0f;
    return (h & 1) ? magnitude : -magnitude;
  };
}

// A grid of unit cells from the origin, so point (i, j, k) sits at (i - 1, j - 1, k - 1).
void unitGrid(BlobSurface& surface, uint8_t cells) {
  ASSERT_TRUE(surface.allocateGrid(cells, cells, cells));
  surface.boundsMin = {0, 0, 0};
  surface.boundsMax = {static_cast<float>(cells), static_cast<float>(cells), static_cast<float>(cells)};
  surface.threshold = 0.0f;
}

// Sources with no field of their own whose marches start at the first cell of every row along x.
std::vector<BlobSource> seedsOnEveryRow(uint8_t cells) {
  std::vector<BlobSource> seeds;
  for (int k = 1; k < cells; ++k)
    for (int j = 1; j < cells; ++j) {
      BlobSource seed;
      seed.position = {0.5f, static_cast<float>(j) - 0.5f, static_cast<float>(k) - 0.5f};
      seeds.push_back(seed);
    }
  return seeds;
}

// The order a recursive flood takes, written the plain way.
struct RecursiveFlood {
  PointField value;
  int cells;
  std::set<Cell> visited;
  std::vector<Cell> order;

  void visit(int i, int j, int k) {
    if (!visited.insert({i, j, k}).second) return;
    int inside = 0;
    for (int c = 0; c < 8; ++c)
      if (value(i + cubeCorners[c][0], j + cubeCorners[c][1], k + cubeCorners[c][2]) >= 0) inside |= 1 << c;
    if (inside == 0 || inside == 255) return;
    if (i < cells - 1) visit(i + 1, j, k);
    if (i > 1) visit(i - 1, j, k);
    if (j < cells - 1) visit(i, j + 1, k);
    if (j > 1) visit(i, j - 1, k);
    if (k < cells - 1) visit(i, j, k + 1);
    if (k > 1) visit(i, j, k - 1);
    order.push_back({i, j, k});
  }
  void march(int i, int j, int k) {
    while (i < cells && !visited.count({i, j, k})) visit(i++, j, k);
  }
};

TEST(BlobFlood, VisitsCellsInTheOrderOfTheRecursiveVisit) {
  for (uint32_t seed : {1u, 2u, 3u}) {
    CollectingSurface surface;
    unitGrid(surface, 9);
    PointSource field(surface, noise(seed));
    surface.addSource(field);
    std::vector<BlobSource> seeds = seedsOnEveryRow(9);
    for (BlobSource& s : seeds) surface.addSource(s);
    surface.extract();

    RecursiveFlood reference{noise(seed), 9, {}, {}};
    for (int k = 1; k < 9; ++k)
      for (int j = 1; j < 9; ++j) reference.march(1, j, k);
    EXPECT_EQ(surface.order(), reference.order) << "seed " << seed;
    EXPECT_EQ(surface.work().cells, reference.visited.size());
    EXPECT_EQ(surface.flushes, 1);
  }
}

// Alternating along x, constant across: every cell is crossed, so one flood runs through all
// 59,319 visitable cells of the 40-cell grid, far deeper than recursion could go; and every normal is
// a zero gradient.
TEST(BlobFlood, AFloodThroughTheWholeGridNeedsNoCallStack) {
  CollectingSurface surface;
  unitGrid(surface, 40);
  PointSource field(surface, [](int i, int, int) { return i % 2 ? 1.0f : -1.0f; });
  BlobSource seed;
  seed.position = {20.5f, 20.5f, 20.5f};
  surface.addSource(field);
  surface.addSource(seed);
  surface.extract();
  EXPECT_EQ(surface.cells.size(), 39u * 39u * 39u);
  EXPECT_EQ(surface.work().floods, 1u);
  std::set<Cell> distinct;
  for (const auto& cell : surface.cells) {
    distinct.insert(cell.at);
    ASSERT_EQ(cell.vertices.size(), 4u);
    for (const SurfaceVertex& v : cell.vertices) {
      EXPECT_EQ(v.normal.x, 0.0f);
      EXPECT_EQ(v.normal.y, 0.0f);
      EXPECT_EQ(v.normal.z, 0.0f);
    }
  }
  EXPECT_EQ(distinct.size(), surface.cells.size()) << "a cell cut twice";
}

// A vertex named by the grid edge it lies on: the lower grid point and the axis of the edge.
using EdgeKey = std::tuple<int, int, int, int>;

EdgeKey edgeOf(const Vec3& p) {
  const float c[3] = {p.x, p.y, p.z};
  int axis = -1, lower[3];
  for (int a = 0; a < 3; ++a) {
    lower[a] = static_cast<int>(std::floor(c[a]));
    if (c[a] != static_cast<float>(lower[a])) axis = a;
  }
  return {lower[0], lower[1], lower[2], axis};
}

// The surface is closed and consistently oriented: each of its edges is shared by triangles running
// along it in opposite directions, as many one way as the other, except on the faces of the region
// the flood may enter, where the surface is cut. Each edge has exactly two triangles but one kind:
// where a thin passage runs through a face with all four edges crossed, and the cells on both sides
// fan their outline across that face, both fans take the same diagonal of the face and the passage
// pinches shut along it (four triangles, two each way). The fan rule makes that; it is rare and
// never visible, and nothing else may break the pairs.
TEST(BlobSurfaceShape, ARandomFieldGivesAClosedOrientedSurfaceAwayFromTheBorder) {
  constexpr uint8_t Cells = 9;
  const int far = Cells - 1;  // the visitable cells cover coordinates 0 ... Cells - 1
  // Both vertices on one grid plane (their fixed coordinates), optionally only the outer ones.
  auto coplanar = [far](const EdgeKey& a, const EdgeKey& b, bool outerOnly) {
    const int pa[3] = {std::get<0>(a), std::get<1>(a), std::get<2>(a)};
    const int pb[3] = {std::get<0>(b), std::get<1>(b), std::get<2>(b)};
    for (int axis = 0; axis < 3; ++axis)
      if (std::get<3>(a) != axis && std::get<3>(b) != axis && pa[axis] == pb[axis] &&
          (!outerOnly || pa[axis] == 0 || pa[axis] == far))
        return true;
    return false;
  };
  int pinches = 0, edges = 0;
  for (uint32_t seed = 10; seed < 20; ++seed) {
    CollectingSurface surface;
    unitGrid(surface, Cells);
    PointSource field(surface, noise(seed));
    surface.addSource(field);
    std::vector<BlobSource> seeds = seedsOnEveryRow(Cells);
    for (BlobSource& s : seeds) surface.addSource(s);
    surface.extract();

    std::map<std::pair<EdgeKey, EdgeKey>, int> directed;
    size_t triangles = 0;
    for (const auto& cell : surface.cells) {
      for (size_t t = 0; t < cell.row.size(); t += 3, ++triangles) {
        const EdgeKey v[3] = {edgeOf(cell.vertices.at(cell.row[t]).position),
                              edgeOf(cell.vertices.at(cell.row[t + 1]).position),
                              edgeOf(cell.vertices.at(cell.row[t + 2]).position)};
        ASSERT_TRUE(v[0] != v[1] && v[1] != v[2] && v[0] != v[2]) << "degenerate triangle";
        for (int k = 0; k < 3; ++k) ++directed[{v[k], v[(k + 1) % 3]}];
      }
    }
    ASSERT_GT(triangles, 100u) << "seed " << seed;
    int borderEdges = 0;
    for (const auto& [edge, forward] : directed) {
      const auto reverse = directed.find({edge.second, edge.first});
      const int backward = reverse == directed.end() ? 0 : reverse->second;
      if (backward == 0) {
        EXPECT_EQ(forward, 1) << "seed " << seed;
        EXPECT_TRUE(coplanar(edge.first, edge.second, true)) << "seed " << seed << ": an open edge inside the grid";
        ++borderEdges;
        continue;
      }
      ASSERT_EQ(forward, backward) << "seed " << seed << ": triangles beside an edge disagree on their turn";
      if (edge.first > edge.second) continue;
      ++edges;
      if (forward == 1) continue;
      EXPECT_EQ(forward, 2) << "seed " << seed;
      EXPECT_TRUE(coplanar(edge.first, edge.second, false)) << "seed " << seed << ": more than two triangles meet "
                                                            << "at an edge that is no diagonal of a face";
      ++pinches;
    }
    EXPECT_GT(borderEdges, 0) << "seed " << seed << ": the field reaches the border, where it is cut";
  }
  EXPECT_LT(pinches * 200, edges) << pinches << " pinches among " << edges << " edges";
}

// Balls of the show's kind in a grid like the show's.
class MetaballGrid : public ::testing::Test {
 protected:
  void SetUp() override { showGrid(surface); }
  static void showGrid(BlobSurface& grid) {
    ASSERT_TRUE(grid.allocateGrid(40, 40, 40));
    grid.boundsMin = {-3, -3, -3};
    grid.boundsMax = {3, 3, 3};
    grid.threshold = 0.7f;
  }
  BlobSource& ball(float x, float y, float z) {
    BlobSource& b = balls.emplace_back();
    b.position = {x, y, z};
    b.radius = 0.8f;
    b.radiusSq = 0.64f;
    b.invRadiusSq = 1.5625f;
    b.strength = 1.5f;
    return b;
  }
  void extract() {
    for (BlobSource& b : balls) surface.addSource(b);
    surface.extract();
  }

  CollectingSurface surface;
  std::deque<BlobSource> balls;  // the surface points at them
};

TEST_F(MetaballGrid, TouchingBallsAreFoundByOneFlood) {
  ball(-0.3f, 0, 0);
  ball(0.3f, 0.1f, 0);
  extract();
  EXPECT_EQ(surface.work().floods, 1u) << "the second ball's cell was reached by the first flood";
}

TEST_F(MetaballGrid, ASeparateBallIsFoundByItsOwnMarch) {
  // The second ball lies further along the first one's march, which stops at the first surface.
  ball(-1.5f, 0, 0);
  ball(1.5f, 0, 0);
  extract();
  EXPECT_EQ(surface.work().floods, 2u);
  CollectingSurface one;
  showGrid(one);
  BlobSource alone = balls[0];
  one.addSource(alone);
  one.extract();
  EXPECT_EQ(surface.cells.size(), 2 * one.cells.size()) << "two whole spheres";
}

TEST_F(MetaballGrid, VerticesLieOnTheIsoSurfaceWithNormalsAlongTheGradient) {
  const BlobSource& b = ball(0.1f, -0.2f, 0.3f);
  extract();
  // (1 - d^2 / 0.64)^2 x 1.5 = 0.7
  const float isoRadius = std::sqrt(0.64f * (1.0f - std::sqrt(0.7f / 1.5f)));
  ASSERT_GT(surface.cells.size(), 50u);
  for (const auto& cell : surface.cells)
    for (const SurfaceVertex& v : cell.vertices) {
      const Vec3 d{v.position.x - b.position.x, v.position.y - b.position.y, v.position.z - b.position.z};
      const float distance = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
      EXPECT_NEAR(distance, isoRadius, 0.03f);
      EXPECT_NEAR(v.normal.x * v.normal.x + v.normal.y * v.normal.y + v.normal.z * v.normal.z, 1.0f, 1e-4f);
      // The field grows towards the centre, and so does the gradient.
      EXPECT_LT((v.normal.x * d.x + v.normal.y * d.y + v.normal.z * d.z) / distance, -0.9f);
    }
}

// Each triangle's (b - a) x (c - a) points out of the ball: the outside is what Direct3D draws as
// front faces.
TEST_F(MetaballGrid, TrianglesFaceOutOfTheBall) {
  const BlobSource& b = ball(0, 0, 0);
  extract();
  for (const auto& cell : surface.cells)
    for (size_t t = 0; t < cell.row.size(); t += 3) {
      const Vec3& p0 = cell.vertices[cell.row[t]].position;
      const Vec3& p1 = cell.vertices[cell.row[t + 1]].position;
      const Vec3& p2 = cell.vertices[cell.row[t + 2]].position;
      const Vec3 u{p1.x - p0.x, p1.y - p0.y, p1.z - p0.z}, w{p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
      const Vec3 n{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
      EXPECT_GT(n.x * (p0.x - b.position.x) + n.y * (p0.y - b.position.y) + n.z * (p0.z - b.position.z), 0.0f);
    }
}

TEST_F(MetaballGrid, EachPointIsEvaluatedOnceAndOnlyNearTheSurface) {
  ball(-0.6f, 0.5f, -0.5f);
  ball(0.3f, 0.5f, 0.0f);
  PointSource counter(surface, [](int, int, int) { return 0.0f; });
  surface.addSource(counter);
  extract();
  EXPECT_EQ(static_cast<uint32_t>(counter.calls), surface.work().values) << "a value computed twice";
  EXPECT_LT(surface.work().values, 43u * 43u * 43u / 10) << "the flood stays near the surface";
  EXPECT_LE(surface.work().normals, surface.work().values);
  // Point 1 lies on boundsMin, and each step one cell further.
  for (int k = 0; k < 43; ++k)
    for (int j = 0; j < 43; ++j)
      for (int i = 0; i < 43; ++i)
        if (surface.flags(i, j, k) & BlobSurface::ValueKnown) {
          const Vec3& p = surface.point(i, j, k).position;
          ASSERT_FLOAT_EQ(p.x, -3.0f + static_cast<float>(i - 1) * 0.15f);
          ASSERT_FLOAT_EQ(p.z, -3.0f + static_cast<float>(k - 1) * 0.15f);
          ASSERT_EQ((surface.flags(i, j, k) & BlobSurface::Inside) != 0, surface.point(i, j, k).value >= 0.0f);
        }
}

TEST_F(MetaballGrid, ABallOutsideTheGridSeedsNothing) {
  ball(10.0f, 0, 0);
  ball(0, -3.5f, 0);
  ball(NAN, 0, 0);
  extract();
  EXPECT_TRUE(surface.cells.empty());
  EXPECT_EQ(surface.work().cells, 0u);
  EXPECT_EQ(surface.flushes, 1) << "the frame still ends with a flush";
}

// A march runs along +x only: a ball's surface is found where the march from its cell meets it.
TEST_F(MetaballGrid, ASurfaceLeavingTheGridIsCutAtItsBorder) {
  ball(-2.8f, 0, 0);
  ball(0, 0, 2.8f);
  extract();
  ASSERT_EQ(surface.work().floods, 2u);
  const float last = -3.0f + 39 * 0.15f;  // point 40, the far side of cell 39
  bool cutLow = false, cutHigh = false;
  for (const auto& cell : surface.cells) {
    for (int axis = 0; axis < 3; ++axis) {
      EXPECT_GE(cell.at[axis], 1);
      EXPECT_LE(cell.at[axis], 39);
    }
    cutLow |= cell.at[0] == 1;
    cutHigh |= cell.at[2] == 39;
    for (const SurfaceVertex& v : cell.vertices) {
      EXPECT_GE(v.position.x, -3.0f);
      EXPECT_LE(v.position.z, last);
    }
  }
  EXPECT_TRUE(cutLow && cutHigh);
  for (int a = 0; a < 43; ++a)
    for (int b = 0; b < 43; ++b)
      for (int outside : {0, 40, 41, 42}) {
        EXPECT_FALSE(surface.flags(outside, a, b) & BlobSurface::Visited);
        EXPECT_FALSE(surface.flags(a, outside, b) & BlobSurface::Visited);
        EXPECT_FALSE(surface.flags(a, b, outside) & BlobSurface::Visited);
      }
}

// The normals at the edge of the visited cells read points no visited cell evaluated; a second frame
// must compute them afresh rather than read what the first frame left there.
TEST(BlobSurfaceFrames, ASecondFrameGivesWhatAFreshSurfaceGives) {
  CollectingSurface reused, fresh;
  unitGrid(reused, 9);
  unitGrid(fresh, 9);
  PointField first = noise(21), second = noise(22);
  bool useSecond = false;
  PointSource reusedField(reused, [&](int i, int j, int k) { return useSecond ? second(i, j, k) : first(i, j, k); });
  PointSource freshField(fresh, second);
  std::vector<BlobSource> seeds = seedsOnEveryRow(9), freshSeeds = seedsOnEveryRow(9);
  reused.addSource(reusedField);
  for (BlobSource& s : seeds) reused.addSource(s);
  fresh.addSource(freshField);
  for (BlobSource& s : freshSeeds) fresh.addSource(s);

  reused.extract();
  reused.cells.clear();
  useSecond = true;
  reused.extract();
  fresh.extract();
  ASSERT_EQ(reused.cells.size(), fresh.cells.size());
  for (size_t c = 0; c < fresh.cells.size(); ++c) {
    ASSERT_EQ(reused.cells[c].at, fresh.cells[c].at);
    ASSERT_EQ(reused.cells[c].row, fresh.cells[c].row);
    for (size_t v = 0; v < fresh.cells[c].vertices.size(); ++v) {
      const SurfaceVertex &a = reused.cells[c].vertices[v], &b = fresh.cells[c].vertices[v];
      ASSERT_EQ(a.position.x, b.position.x);
      ASSERT_EQ(a.normal.x, b.normal.x) << "cell " << c;
      ASSERT_EQ(a.normal.y, b.normal.y) << "cell " << c;
      ASSERT_EQ(a.normal.z, b.normal.z) << "cell " << c;
    }
  }
  // Every normal taken is the central difference of this frame's field, also on the border, where
  // its neighbours lie outside every visited cell.
  int border = 0;
  for (int k = 0; k < 11; ++k)
    for (int j = 0; j < 11; ++j)
      for (int i = 0; i < 11; ++i) {
        if (!(reused.flags(i, j, k) & BlobSurface::NormalKnown)) continue;
        const float g[3] = {second(i + 1, j, k) - second(i - 1, j, k), second(i, j + 1, k) - second(i, j - 1, k),
                            second(i, j, k + 1) - second(i, j, k - 1)};
        const float length = std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]);
        const Vec3& n = reused.point(i, j, k).normal;
        ASSERT_NEAR(n.x, g[0] / length, 1e-6f) << i << " " << j << " " << k;
        ASSERT_NEAR(n.y, g[1] / length, 1e-6f) << i << " " << j << " " << k;
        ASSERT_NEAR(n.z, g[2] / length, 1e-6f) << i << " " << j << " " << k;
        border += i == 1 || j == 1 || k == 1;
      }
  EXPECT_GT(border, 0);
}

TEST(BlobSurfaceGrid, WithoutAGridAnExtractionOnlyFlushes) {
  CollectingSurface surface;
  BlobSource ball;
  ball.strength = 1.0f;
  surface.addSource(ball);
  surface.extract();
  EXPECT_EQ(surface.flushes, 1);
  EXPECT_TRUE(surface.cells.empty());
  EXPECT_FALSE(surface.hasGrid());
  ASSERT_TRUE(surface.allocateGrid(1, 1, 1)) << "one cell, none of it visitable";
  surface.extract();
  EXPECT_TRUE(surface.cells.empty());
}

}  // namespace
}  // namespace demo::test
