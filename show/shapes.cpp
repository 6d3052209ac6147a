#include "shapes.h"

#include <cmath>
#include <stdexcept>

namespace demo::show {

namespace {
constexpr float Pi = 3.14159265f;
}

P3 operator+(const P3& a, const P3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
P3 operator-(const P3& a, const P3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P3 operator*(float s, const P3& a) { return {s * a.x, s * a.y, s * a.z}; }
P3 crossP(const P3& a, const P3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dotP(const P3& a, const P3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

uint16_t Shape::vertex(const P3& p, float u, float v) {
  if (positions.size() >= 0xFFFF) throw std::length_error("a 3DS mesh holds at most 65535 vertices");
  positions.push_back(p);
  uvs.push_back({u, v});
  return static_cast<uint16_t>(positions.size() - 1);
}

void Shape::triangle(uint16_t a, uint16_t b, uint16_t c, const P3& outward) {
  const P3 n = crossP(positions[b] - positions[a], positions[c] - positions[a]);
  if (dotP(n, n) < 1e-12f) return;
  if (dotP(n, outward) >= 0)
    faces.push_back({a, b, c});
  else
    faces.push_back({a, c, b});
}

void Shape::quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d, const P3& outward) {
  triangle(a, b, d, outward);
  triangle(a, d, c, outward);
}

void Shape::moveBy(const P3& offset) {
  for (P3& p : positions) p = p + offset;
}

void Shape::mirrorX() {
  for (P3& p : positions) p.x = -p.x;
}

Shape sphere(float radius, int slices, int stacks) {
  Shape s;
  std::vector<std::vector<uint16_t>> grid(stacks + 1);
  for (int i = 0; i <= stacks; ++i)
    for (int j = 0; j <= slices; ++j) {
      const float phi = Pi * static_cast<float>(i) / static_cast<float>(stacks);
      const float theta = 2 * Pi * static_cast<float>(j) / static_cast<float>(slices);
      const P3 p{radius * std::sin(phi) * std::cos(theta), radius * std::cos(phi),
                 radius * std::sin(phi) * std::sin(theta)};
      grid[i].push_back(s.vertex(p, static_cast<float>(j) / static_cast<float>(slices),
                                 static_cast<float>(i) / static_cast<float>(stacks)));
    }
  for (int i = 0; i < stacks; ++i)
    for (int j = 0; j < slices; ++j) {
      const uint16_t a = grid[i][j], b = grid[i][j + 1], c = grid[i + 1][j], d = grid[i + 1][j + 1];
      const P3 centre = 0.25f * (s.positions[a] + s.positions[b] + s.positions[c] + s.positions[d]);
      s.quad(a, b, c, d, centre);
    }
  return s;
}

Shape box(const P3& size) {
  Shape s;
  const P3 h = 0.5f * size;
  // Each face: its outward axis and two axes spanning it.
  const P3 axes[6][3] = {{{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                         {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                         {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}}};
  const auto scaled = [&](const P3& axis) { return P3{axis.x * h.x, axis.y * h.y, axis.z * h.z}; };
  for (const auto& f : axes) {
    const P3 centre = scaled(f[0]), u = scaled(f[1]), v = scaled(f[2]);
    const uint16_t a = s.vertex(centre - u + v, 0, 0), b = s.vertex(centre + u + v, 1, 0);
    const uint16_t c = s.vertex(centre - u - v, 0, 1), d = s.vertex(centre + u - v, 1, 1);
    s.quad(a, b, c, d, f[0]);
  }
  return s;
}

Shape torus(float radius, float tube, int segments, int sides) {
  Shape s;
  std::vector<std::vector<uint16_t>> grid(segments + 1);
  std::vector<P3> ringCentres;
  for (int i = 0; i <= segments; ++i) {
    const float a = 2 * Pi * static_cast<float>(i) / static_cast<float>(segments);
    const P3 centre{radius * std::cos(a), 0, radius * std::sin(a)};
    ringCentres.push_back(centre);
    for (int j = 0; j <= sides; ++j) {
      const float b = 2 * Pi * static_cast<float>(j) / static_cast<float>(sides);
      const P3 out{std::cos(a) * std::cos(b), std::sin(b), std::sin(a) * std::cos(b)};
      grid[i].push_back(s.vertex(centre + tube * out, 2.0f * static_cast<float>(i) / static_cast<float>(segments),
                                 static_cast<float>(j) / static_cast<float>(sides)));
    }
  }
  for (int i = 0; i < segments; ++i)
    for (int j = 0; j < sides; ++j) {
      const uint16_t a = grid[i][j], b = grid[i][j + 1], c = grid[i + 1][j], d = grid[i + 1][j + 1];
      const P3 mid = 0.25f * (s.positions[a] + s.positions[b] + s.positions[c] + s.positions[d]);
      s.quad(a, b, c, d, mid - 0.5f * (ringCentres[i] + ringCentres[i + 1]));
    }
  return s;
}

Shape ground(float size, float tiles) {
  Shape s;
  constexpr int Cells = 8;  // a grid, so that point lights light it per vertex with some detail
  std::vector<std::vector<uint16_t>> grid(Cells + 1);
  for (int i = 0; i <= Cells; ++i)
    for (int j = 0; j <= Cells; ++j) {
      const float u = static_cast<float>(j) / Cells, v = static_cast<float>(i) / Cells;
      grid[i].push_back(s.vertex({(u - 0.5f) * size, 0, (0.5f - v) * size}, u * tiles, v * tiles));
    }
  for (int i = 0; i < Cells; ++i)
    for (int j = 0; j < Cells; ++j) s.quad(grid[i][j], grid[i][j + 1], grid[i + 1][j], grid[i + 1][j + 1], {0, 1, 0});
  return s;
}

Shape fin(float length, float height, float thickness) {
  Shape s;
  constexpr int Steps = 10;
  // A swept blade rising from the root (x = 0) to the tip, its outline a quarter ellipse.
  std::vector<uint16_t> topFront, topBack, bottomFront, bottomBack;
  for (int i = 0; i <= Steps; ++i) {
    const float t = static_cast<float>(i) / Steps;
    const float x = length * t;
    const float y = height * std::sin(t * Pi * 0.5f);
    const float chord = height * 0.35f * (1.0f - 0.7f * t);
    const float half = thickness * 0.5f * (1.0f - 0.6f * t);
    topFront.push_back(s.vertex({x, y + chord, -half}, t, 0));
    topBack.push_back(s.vertex({x, y + chord, half}, t, 0));
    bottomFront.push_back(s.vertex({x, y, -half}, t, 1));
    bottomBack.push_back(s.vertex({x, y, half}, t, 1));
  }
  for (int i = 0; i < Steps; ++i) {
    s.quad(topFront[i], topFront[i + 1], bottomFront[i], bottomFront[i + 1], {0, 0, -1});
    s.quad(topBack[i], topBack[i + 1], bottomBack[i], bottomBack[i + 1], {0, 0, 1});
    const P3 up = crossP(s.positions[topFront[i + 1]] - s.positions[topFront[i]], {0, 0, -1});
    s.quad(topFront[i], topFront[i + 1], topBack[i], topBack[i + 1], -1.0f * up);
    s.quad(bottomFront[i], bottomFront[i + 1], bottomBack[i], bottomBack[i + 1], up);
  }
  s.quad(topFront[Steps], topBack[Steps], bottomFront[Steps], bottomBack[Steps], {1, 0, 0});
  s.quad(topFront[0], topBack[0], bottomFront[0], bottomBack[0], {-1, 0, 0});
  return s;
}

Shape gem(float radius) {
  Shape s;
  const P3 tips[6] = {{radius, 0, 0}, {-radius, 0, 0}, {0, radius * 1.4f, 0},
                      {0, -radius * 1.4f, 0}, {0, 0, radius}, {0, 0, -radius}};
  for (int sx : {0, 1})
    for (int sy : {2, 3})
      for (int sz : {4, 5}) {
        const uint16_t a = s.vertex(tips[sx], 0, 0), b = s.vertex(tips[sy], 0.5f, 1), c = s.vertex(tips[sz], 1, 0);
        s.triangle(a, b, c, tips[sx] + tips[sy] + tips[sz]);
      }
  return s;
}

Shape panel(float width, float height) {
  Shape s;
  const float w = width * 0.5f;
  const uint16_t a = s.vertex({-w, height, 0}, 0, 0), b = s.vertex({w, height, 0}, 1, 0);
  const uint16_t c = s.vertex({-w, 0, 0}, 0, 1), d = s.vertex({w, 0, 0}, 1, 1);
  s.quad(a, b, c, d, {0, 0, -1});
  return s;
}

std::array<float, 3> toFile(const P3& p) { return {p.x, p.z, p.y}; }

Mesh3ds toMesh3ds(const std::string& name, const Shape& shape, const P3& origin, const std::string& material,
                  bool mirrored) {
  Mesh3ds mesh;
  mesh.name = name;
  for (const P3& p : shape.positions) mesh.vertices.push_back(toFile(p + origin));
  // The file's v runs up the picture; the engine turns it back with 1 - v.
  std::vector<std::array<float, 2>> uvs;
  for (const auto& uv : shape.uvs) uvs.push_back({uv[0], 1.0f - uv[1]});
  mesh.uvs = uvs;
  std::vector<uint16_t> all;
  for (const auto& f : shape.faces) {
    mesh.faces.push_back({f[0], f[2], f[1], 7});  // the reader exchanges the second and third index back
    all.push_back(static_cast<uint16_t>(all.size()));
  }
  mesh.groups = {{material, all}};
  // The file's axes: X, then its Y (the engine's z), then its Z (the engine's y), then the origin.
  mesh.matrix = std::array<Float3, 4>{{{mirrored ? -1.0f : 1.0f, 0, 0}, {0, 1, 0}, {0, 0, 1}, toFile(origin)}};
  return mesh;
}

}  // namespace demo::show
