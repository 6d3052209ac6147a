#include "fx/cube_tables.h"

namespace demo {

namespace {

// A piece of the surface's outline on one face, from the crossed edge where it enters to the one
// where it leaves, walking with the inside on the same hand on every face.
struct Segment {
  int8_t from = 0, to = 0;  // initialised: clang refuses a constant expression that copies an unset member
};

struct Segments {
  Segment at[12] = {};  // at most two per face; zeroed, as clang copies no indeterminate value at compile time
  int count = 0;
  constexpr void add(int from, int to) { at[count++] = {static_cast<int8_t>(from), static_cast<int8_t>(to)}; }
  constexpr void removeAt(int i) { at[i] = at[--count]; }
};

constexpr bool inside(int c, int corner) { return (c >> corner & 1) != 0; }

constexpr uint16_t edgeMaskOf(int c) {
  uint16_t mask = 0;
  for (int e = 0; e < 12; ++e)
    if (inside(c, cubeEdges[e][0]) != inside(c, cubeEdges[e][1])) mask = static_cast<uint16_t>(mask | 1u << e);
  return mask;
}

// Each face's outline runs from the edge after an inside run of corners to the edge before it. Where
// a face has all four edges crossed (diagonal corners inside) the two inside corners are always kept
// apart, whichever face corner is first: the two cubes sharing the face then agree on it.
constexpr Segments faceSegments(int c, uint16_t mask) {
  Segments segments;
  for (int f = 0; f < 6; ++f) {
    int crossed[4] = {};
    int n = 0;
    for (int k = 0; k < 4; ++k)
      if (mask >> faceEdges[f][k] & 1) crossed[n++] = k;
    const uint8_t* edge = faceEdges[f];
    if (n == 2) {
      const int k1 = crossed[0], k2 = crossed[1];
      if (inside(c, faceCorners[f][k1]))
        segments.add(edge[k1], edge[k2]);
      else
        segments.add(edge[k2], edge[k1]);
    } else if (n == 4) {
      if (inside(c, faceCorners[f][0])) {
        segments.add(edge[2], edge[1]);
        segments.add(edge[0], edge[3]);
      } else {
        segments.add(edge[1], edge[0]);
        segments.add(edge[3], edge[2]);
      }
    }
  }
  return segments;
}

// Chains the outlines into triangle fans, each fan centred on its first segment's from-edge. The
// segment that would close a fan back to its centre is never taken as a continuation; it is later
// drawn as a start that finds nothing and dropped. Entries are edge numbers.
constexpr void chainFans(Segments segments, int8_t (&row)[CubeTables::RowLength]) {
  int out = 0;
  while (segments.count > 0) {
    const int8_t centre = segments.at[0].from;
    int8_t tip = segments.at[0].to;
    segments.removeAt(0);
    for (;;) {
      int found = -1;
      for (int i = 0; i < segments.count && found < 0; ++i)
        if (segments.at[i].from == tip && segments.at[i].to != centre) found = i;
      if (found < 0) break;
      // A row that outgrew its 15 entries would write past the array, which stops the compilation.
      row[out++] = centre;
      row[out++] = tip;
      row[out++] = tip = segments.at[found].to;
      segments.removeAt(found);
    }
  }
  row[out] = CubeTables::RowEnd;
}

constexpr CubeTables makeCubeTables() {
  CubeTables tables{};
  for (int c = 0; c < 256; ++c) {
    const uint16_t mask = edgeMaskOf(c);
    tables.edgeMask[c] = mask;
    int8_t vertexOf[12] = {};
    int8_t next = 0;
    for (int e = 0; e < 12; ++e)
      if (mask >> e & 1) vertexOf[e] = next++;
    int8_t(&row)[CubeTables::RowLength] = tables.triangleRows[c];
    for (int8_t& entry : row) entry = CubeTables::RowEnd;
    chainFans(faceSegments(c, mask), row);
    for (int i = 0; row[i] != CubeTables::RowEnd; ++i) row[i] = vertexOf[row[i]];
  }
  return tables;
}

}  // namespace

constexpr CubeTables cubeTables = makeCubeTables();

}  // namespace demo
