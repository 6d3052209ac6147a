// The metaball cube tables: what each case's row must hold for the cells to fit together.

#include <bit>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fx/cube_tables.h"

namespace demo::test {
namespace {

struct Triangle {
  int edges[3];  // cube edge numbers
};

// The row of case c with its vertex numbers turned back into cube edges.
std::vector<Triangle> triangles(int c) {
  std::vector<int> edgeOfVertex;
  for (int e = 0; e < 12; ++e)
    if (cubeTables.edgeMask[c] >> e & 1) edgeOfVertex.push_back(e);
  std::vector<Triangle> out;
  const int8_t* row = cubeTables.triangleRows[c];
  for (int i = 0; row[i] != CubeTables::RowEnd; i += 3)
    out.push_back({{edgeOfVertex.at(row[i]), edgeOfVertex.at(row[i + 1]), edgeOfVertex.at(row[i + 2])}});
  return out;
}

bool inside(int c, int corner) { return (c >> corner & 1) != 0; }

int faceHolding(int edgeA, int edgeB) {
  for (int f = 0; f < 6; ++f) {
    std::set<int> edges(faceEdges[f], faceEdges[f] + 4);
    if (edges.count(edgeA) && edges.count(edgeB)) return f;
  }
  return -1;
}

TEST(CubeTables, EdgeMaskMarksExactlyTheEdgesBetweenInsideAndOutside) {
  for (int c = 0; c < 256; ++c)
    for (int e = 0; e < 12; ++e)
      EXPECT_EQ((cubeTables.edgeMask[c] >> e & 1) != 0, inside(c, cubeEdges[e][0]) != inside(c, cubeEdges[e][1]))
          << "case " << c << " edge " << e;
  EXPECT_EQ(cubeTables.edgeMask[0], 0);
  EXPECT_EQ(cubeTables.edgeMask[255], 0);
  EXPECT_EQ(cubeTables.triangleRows[0][0], CubeTables::RowEnd);
  EXPECT_EQ(cubeTables.triangleRows[255][0], CubeTables::RowEnd);
}

TEST(CubeTables, RowsFitTheirSixteenBytesAndUseEveryCrossedEdge) {
  for (int c = 0; c < 256; ++c) {
    const int8_t* row = cubeTables.triangleRows[c];
    int length = 0;
    while (length < CubeTables::RowLength && row[length] != CubeTables::RowEnd) ++length;
    ASSERT_LE(length, 15) << "case " << c;
    EXPECT_EQ(length % 3, 0) << "case " << c;
    const int vertices = std::popcount(cubeTables.edgeMask[c]);
    std::set<int> used;
    for (int i = 0; i < length; ++i) {
      EXPECT_GE(row[i], 0) << "case " << c;
      EXPECT_LT(row[i], vertices) << "case " << c;
      used.insert(row[i]);
    }
    EXPECT_EQ(static_cast<int>(used.size()), vertices) << "case " << c;
    for (int i = 0; i + 2 < length; i += 3)
      EXPECT_TRUE(row[i] != row[i + 1] && row[i + 1] != row[i + 2] && row[i] != row[i + 2])
          << "case " << c << ": a degenerate triangle";
  }
}

TEST(CubeTables, OneCornerInsideOrOutsideGivesOneTriangleAroundIt) {
  for (int corner = 0; corner < 8; ++corner) {
    std::set<int> around;
    for (int e = 0; e < 12; ++e)
      if (cubeEdges[e][0] == corner || cubeEdges[e][1] == corner) around.insert(e);
    for (int c : {1 << corner, 255 ^ (1 << corner)}) {
      const std::vector<Triangle> found = triangles(c);
      ASSERT_EQ(found.size(), 1u) << "case " << c;
      EXPECT_EQ(std::set<int>(found[0].edges, found[0].edges + 3), around) << "case " << c;
    }
  }
}

// On a face whose diagonal corners are inside, the two inside corners are cut off separately: the
// triangles' edges never run between the face's two halves.
TEST(CubeTables, DiagonalCornersOfAFaceAreNeverJoinedAcrossIt) {
  for (int f = 0; f < 6; ++f) {
    for (int first = 0; first < 2; ++first) {
      const int a = faceCorners[f][first], b = faceCorners[f][first + 2];
      const int c = 1 << a | 1 << b;
      const std::vector<Triangle> found = triangles(c);
      ASSERT_EQ(found.size(), 2u) << "case " << c;
      std::set<int> one(found[0].edges, found[0].edges + 3), other(found[1].edges, found[1].edges + 3);
      for (int e : one) EXPECT_EQ(other.count(e), 0u) << "case " << c << ": the two corners share a vertex";
    }
  }
}

// Within one cube a row is a piece of oriented surface: every edge between two of its vertices is
// either used by two triangles in opposite directions or lies on a face of the cube, where the
// neighbouring cube continues it.
TEST(CubeTables, EachRowIsAnOrientedSurfaceBoundedByTheCubeFaces) {
  for (int c = 1; c < 255; ++c) {
    std::map<std::pair<int, int>, int> directed;
    for (const Triangle& t : triangles(c))
      for (int k = 0; k < 3; ++k) ++directed[{t.edges[k], t.edges[(k + 1) % 3]}];
    for (const auto& [edge, count] : directed) {
      EXPECT_EQ(count, 1) << "case " << c << ": the same direction twice";
      const auto reverse = directed.find({edge.second, edge.first});
      if (reverse != directed.end()) continue;
      EXPECT_GE(faceHolding(edge.first, edge.second), 0)
          << "case " << c << ": an open edge " << edge.first << "-" << edge.second << " inside the cube";
    }
  }
}

// A fan's diagonals run through the cube, except where the outline passes one face twice (all four
// of its edges crossed): a diagonal may then lie in that face, and the cube beside it may fan across
// the same face with the same diagonal (see the random-field test of the surface).
TEST(CubeTables, DiagonalsLieInAFaceOnlyWhereItsFourEdgesAreCrossed) {
  int facesCrossed = 0;
  for (int c = 1; c < 255; ++c) {
    std::map<std::pair<int, int>, int> directed;
    for (const Triangle& t : triangles(c))
      for (int k = 0; k < 3; ++k) ++directed[{t.edges[k], t.edges[(k + 1) % 3]}];
    for (const auto& [edge, count] : directed) {
      if (edge.first > edge.second || !directed.count({edge.second, edge.first})) continue;
      const int f = faceHolding(edge.first, edge.second);
      if (f < 0) continue;
      int crossed = 0;
      for (int k = 0; k < 4; ++k) crossed += cubeTables.edgeMask[c] >> faceEdges[f][k] & 1;
      EXPECT_EQ(crossed, 4) << "case " << c << ": a diagonal across face " << f;
      ++facesCrossed;
    }
  }
  EXPECT_GT(facesCrossed, 0) << "the fan rule does fan across such faces";
}

// Seen from outside, a surface piece turns the way Direct3D draws front faces (clockwise on screen
// in its left-handed space): (b - a) x (c - a) points away from the inside corner.
TEST(CubeTables, TrianglesFaceAwayFromTheInside) {
  auto midpoint = [](int e, int axis) {
    return 0.5f * (cubeCorners[cubeEdges[e][0]][axis] + cubeCorners[cubeEdges[e][1]][axis]);
  };
  for (int corner = 0; corner < 8; ++corner) {
    const Triangle t = triangles(1 << corner).at(0);
    float p[3][3];
    for (int v = 0; v < 3; ++v)
      for (int axis = 0; axis < 3; ++axis) p[v][axis] = midpoint(t.edges[v], axis);
    const float u[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
    const float w[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
    const float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    float outward = 0;
    for (int axis = 0; axis < 3; ++axis) outward += n[axis] * (p[0][axis] - cubeCorners[corner][axis]);
    EXPECT_GT(outward, 0.0f) << "corner " << corner;
  }
}

}  // namespace
}  // namespace demo::test
