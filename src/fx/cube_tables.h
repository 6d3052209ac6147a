#pragma once
// What the metaball polygoniser knows about one cube of the grid: its numbering, and for each of the
// 256 inside/outside patterns of its corners the crossed edges and the triangles, made by our own
// orientation and ambiguity rules.

#include <cstdint>

namespace demo {

// Corner k of the cube at grid point (x, y, z) sits at (x, y, z) + cubeCorners[k].
inline constexpr uint8_t cubeCorners[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                              {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};

// Edge e runs from corner cubeEdges[e][0] to corner cubeEdges[e][1]; interpolation follows that
// direction.
inline constexpr uint8_t cubeEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                             {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

// Each face's corners in one turning sense, the same for all six as seen from inside the cube, and
// the edge from each corner to the next: faceEdges[f][k] joins faceCorners[f][k] and [k + 1].
inline constexpr uint8_t faceCorners[6][4] = {{0, 1, 2, 3}, {2, 1, 5, 6}, {6, 5, 4, 7},
                                              {4, 0, 3, 7}, {1, 0, 4, 5}, {2, 6, 7, 3}};
inline constexpr uint8_t faceEdges[6][4] = {{0, 1, 2, 3}, {1, 9, 5, 10}, {5, 4, 7, 6},
                                            {8, 3, 11, 7}, {0, 8, 4, 9}, {10, 6, 11, 2}};

struct CubeTables {
  static constexpr int RowLength = 16;  // 5 triangles at most, then the end mark
  static constexpr int8_t RowEnd = -1;

  // Bit e set when edge e has one corner inside and one outside, for the case whose bit k says
  // corner k is inside.
  uint16_t edgeMask[256];
  // Triangles as triples of vertex numbers, ended by RowEnd. Vertex numbers count the crossed edges
  // in increasing edge order: the first crossed edge is vertex 0.
  int8_t triangleRows[256][RowLength];
};

// Made once, when the program is compiled, by the rules in cube_tables.cpp.
extern const CubeTables cubeTables;

}  // namespace demo
