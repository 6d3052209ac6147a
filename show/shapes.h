#pragma once
// Meshes for the show's 3D scene, built in the engine's space (left-handed, y up; a face's front is
// the side its vertices run clockwise on, which is where (q - p) x (r - p) points), and written as
// 3DS meshes, whose files keep z up: y and z exchanged, and each face's second and third vertex, so
// that the engine reads back exactly what was built.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "writers/3ds_writer.h"

namespace demo::show {

struct P3 {
  float x = 0, y = 0, z = 0;
};
P3 operator+(const P3& a, const P3& b);
P3 operator-(const P3& a, const P3& b);
P3 operator*(float s, const P3& a);
P3 crossP(const P3& a, const P3& b);
float dotP(const P3& a, const P3& b);

struct Shape {
  std::vector<P3> positions;
  std::vector<std::array<float, 2>> uvs;
  std::vector<std::array<uint16_t, 3>> faces;

  uint16_t vertex(const P3& p, float u, float v);
  // Adds the triangle facing `outward` (its winding chosen so), skipping one without area.
  void triangle(uint16_t a, uint16_t b, uint16_t c, const P3& outward);
  void quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d, const P3& outward);  // a b / c d
  void moveBy(const P3& offset);
  // Mirrored in x about the plane x = 0; the faces keep their vertex order, so they turn inside
  // out, as a mirror tool leaves them (the mesh matrix then records the mirror).
  void mirrorX();
};

Shape sphere(float radius, int slices, int stacks);
Shape box(const P3& size);
Shape torus(float radius, float tube, int segments, int sides);
// A square in the y = 0 plane facing up, with the texture repeated `tiles` times across.
Shape ground(float size, float tiles);
// A curved fin in the x = 0 .. length half-space, like one wing of a pair.
Shape fin(float length, float height, float thickness);
// An octahedron.
Shape gem(float radius);
// A flat panel in the x-y plane facing -z, its texture once across it.
Shape panel(float width, float height);

// The shape as a 3DS mesh placed at `origin` (engine space): the file stores world positions and a
// matrix whose origin is `origin`, so that the node rotates the mesh about it. With `mirrored`, the
// matrix's X axis is (-1, 0, 0) (the shape must have been mirrored by mirrorX).
Mesh3ds toMesh3ds(const std::string& name, const Shape& shape, const P3& origin, const std::string& material,
                  bool mirrored = false);

// An engine-space point as the file stores it.
std::array<float, 3> toFile(const P3& p);

}  // namespace demo::show
