// The ray-cast tunnel on a grid image: the camera's fan of rays, where each ray meets the tube and
// what the grid's vertices get from it, the misses, and the cameras and grids that have no answer.
#include <gtest/gtest.h>

#include <cmath>

#include "fx/tunnel.h"
#include "support/show_harness.h"

namespace demo::test {
namespace {

constexpr float Pi = 3.14159265f;

// Texture coordinates no cast would write, to tell kept ones apart.
void mark(GridImage& grid) {
  for (GridVertex& v : grid.vertices) v.u = v.v = 7.0f, v.colour = 0x12345678u;
}

const GridVertex& at(const GridImage& grid, int row, int col) {
  return grid.vertices[static_cast<size_t>(row) * (grid.cols + 1) + col];
}

TEST(TunnelRays, RollZeroLookingAlongZPutsTheStraightRayAtTheBottomRightVertex) {
  TunnelRays rays;
  ASSERT_TRUE(tunnelRays({0, 0, -50}, {0, 0, 100}, 0.0f, rays));
  EXPECT_EQ(rays.c.x, 0.0f);
  EXPECT_EQ(rays.c.y, 0.0f);
  EXPECT_EQ(rays.c.z, 1.0f);
  EXPECT_EQ(rays.a.x, 1.0f);
  EXPECT_EQ(rays.b.y, 1.0f);
  // A quarter turn of roll turns the fan: A becomes the old B, B the old -A.
  ASSERT_TRUE(tunnelRays({0, 0, 0}, {0, 0, 1}, Pi / 2, rays));
  EXPECT_NEAR(rays.a.y, 1.0f, 1e-6f);
  EXPECT_NEAR(rays.b.x, -1.0f, 1e-6f);
  EXPECT_EQ(rays.c.z, 1.0f);
}

TEST(TunnelRays, ACameraWithoutABasisHasNoFan) {
  TunnelRays rays;
  EXPECT_FALSE(tunnelRays({1, 2, 3}, {1, 2, 3}, 0.0f, rays)) << "the eye on its target";
  EXPECT_FALSE(tunnelRays({0, 0, 0}, {0, 10, 0}, 0.0f, rays)) << "looking straight up";
  EXPECT_FALSE(tunnelRays({0, 0, 0}, {0, -10, 0}, 0.7f, rays)) << "straight down, rolled";
  EXPECT_FALSE(tunnelRays({NAN, 0, 0}, {0, 0, 1}, 0.0f, rays));
  EXPECT_FALSE(tunnelRays({0, 0, 0}, {0, 0, 1}, INFINITY, rays));
  EXPECT_TRUE(tunnelRays({0, 0, 0}, {1e-3f, 10, 0}, 0.0f, rays)) << "nearly straight up still has one";
}

TEST(Tunnel, AnEyeOnTheAxisHitsTheTubeAtRadiusFiveHundred) {
  GridImage grid(4, 4, 0, 0, 1, 1);
  mark(grid);
  const Vec3 eye{0, 0, 1000};
  ASSERT_TRUE(castTunnel(grid, eye, {0, 0, 2000}, 0.0f, 1000.0f));
  for (int i = 0; i <= 4; ++i)
    for (int j = 0; j <= 4; ++j) {
      const GridVertex& v = at(grid, i, j);
      const float a = j * 0.25f - 1.0f, b = 1.0f - i * 0.25f;
      if (i == 4 && j == 4) continue;  // the ray along the axis, below
      // The ray (a, b, 1) meets radius 500 after 500 / |(a, b)|.
      const float t = 500.0f / std::sqrt(a * a + b * b);
      EXPECT_EQ(v.colour, 0xFFFFFFFFu) << i << ", " << j;
      EXPECT_NEAR(v.u, (eye.z + t) / 3000.0f, 1e-5f) << i << ", " << j;
      EXPECT_NEAR(v.v, std::atan2(b, a) / (2 * Pi), 1e-6f) << i << ", " << j;
    }
  // The straight-ahead ray never meets the tube: a miss, its coordinates kept, no NaN.
  const GridVertex& axis = at(grid, 4, 4);
  EXPECT_EQ(axis.colour, 0x00000000u);
  EXPECT_EQ(axis.u, 7.0f);
  EXPECT_EQ(axis.v, 7.0f);
  // Bottom left: the ray (-1, 0, 1) meets the tube at (-500, 0, 1500), on the seam.
  EXPECT_FLOAT_EQ(at(grid, 4, 0).u, 0.5f);
  EXPECT_FLOAT_EQ(at(grid, 4, 0).v, 0.5f);
  // Top right: the ray (0, 1, 1) meets it straight above, at (0, 500, 1500).
  EXPECT_FLOAT_EQ(at(grid, 0, 4).v, 0.25f);
}

TEST(Tunnel, RaysPassingBesideTheTubeTurnTransparentBlackAndKeepTheirCoordinates) {
  // Outside the tube at x = 2000, the fan pointing away along +x: rays with b above about 0.26 pass
  // beside it (the lower ones meet the tube's far side behind the eye).
  GridImage grid(4, 4, 0, 0, 1, 1);
  mark(grid);
  ASSERT_TRUE(castTunnel(grid, {2000, 0, 0}, {1000, 0, 0}, 0.0f, 1000.0f));
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 4; ++j) {
      const GridVertex& v = at(grid, i, j);
      EXPECT_EQ(v.colour, 0x00000000u) << i << ", " << j;
      EXPECT_EQ(v.u, 7.0f);
      EXPECT_EQ(v.v, 7.0f);
    }
  for (int j = 0; j <= 4; ++j) EXPECT_EQ(at(grid, 4, j).colour, 0xFFFFFFFFu) << j;
}

TEST(Tunnel, AnEyeInsideTheTubeNeverMissesAndLooksAhead) {
  GridImage grid(16, 16, 0, 0, 1, 1);
  const Vec3 eyes[] = {{100, -150, 40}, {-420, 10, -9000}, {0, 499, 3}};
  const Vec3 targets[] = {{300, 200, 900}, {-420, 10, -10000}, {50, -60, 10}};
  for (const Vec3& eye : eyes)
    for (const Vec3& target : targets)
      for (float roll : {0.0f, 0.4f, -2.5f}) {
        mark(grid);
        TunnelRays rays;
        ASSERT_TRUE(tunnelRays(eye, target, roll, rays));
        ASSERT_TRUE(castTunnel(grid, eye, target, roll, 1000.0f));
        for (int i = 0; i <= 16; ++i)
          for (int j = 0; j <= 16; ++j) {
            const GridVertex& v = at(grid, i, j);
            const float a = j / 16.0f - 1.0f, b = 1.0f - i / 16.0f;
            const Vec3 dir = a * rays.a + b * rays.b + rays.c;
            if (dir.x == 0.0f && dir.y == 0.0f) {
              EXPECT_EQ(v.colour, 0x00000000u) << "the one ray along the axis";
              continue;
            }
            ASSERT_EQ(v.colour, 0xFFFFFFFFu) << i << ", " << j;
            // Back from u to the ray's length: the hit is ahead of the eye, on the tube's wall, at
            // the angle v gives.
            if (std::fabs(dir.z) < 0.1f) continue;
            const float t = (v.u * 3000.0f - eye.z) / dir.z;
            ASSERT_GT(t, 0.0f);
            const float x = eye.x + t * dir.x, y = eye.y + t * dir.y;
            ASSERT_NEAR(std::hypot(x, y), 500.0f, 0.5f);
            ASSERT_NEAR(std::cos(v.v * 2 * Pi), x / 500.0f, 2e-3f);
            ASSERT_NEAR(std::sin(v.v * 2 * Pi), y / 500.0f, 2e-3f);
          }
      }
}

TEST(Tunnel, NonFiniteDiscriminantsAreMisses) {
  GridImage grid(2, 2, 0, 0, 1, 1);
  mark(grid);
  ASSERT_TRUE(castTunnel(grid, {0, 0, 0}, {0, 0, 1}, 0.0f, INFINITY));
  for (const GridVertex& v : grid.vertices) {
    EXPECT_EQ(v.colour, 0x00000000u);
    EXPECT_EQ(v.u, 7.0f);
  }
  mark(grid);
  // Far enough out that 4 (x² + y²) overflows: every discriminant is -infinity or NaN.
  ASSERT_TRUE(castTunnel(grid, {1e19f, 0, 0}, {0, 0, 0}, 0.0f, 1000.0f));
  for (const GridVertex& v : grid.vertices) {
    EXPECT_EQ(v.colour, 0x00000000u);
    EXPECT_EQ(v.v, 7.0f);
  }
}

TEST(Tunnel, DrawsTheCastGridOrNothingAtAll) {
  ShowHarness h;
  h.device().BeginScene();
  GridImage grid(8, 6, 0, 0, 1, 1);
  EXPECT_EQ(drawTunnel(h.layer, grid, {0, 0, 0}, {0, 0, 1}, 0.8f, 0.0f, 1000.0f), 1);
  ASSERT_EQ(h.device().draws.size(), 6u) << "one strip per cell row";
  EXPECT_EQ(h.device().draws[0].colorVertex(0).diffuse, 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(h.device().draws[0].colorVertex(0).v, 0.375f) << "the top-left ray (-1, 1, 1)";

  h.device().clearLog();
  mark(grid);
  EXPECT_EQ(drawTunnel(h.layer, grid, {5, 5, 5}, {5, 5, 5}, 0.8f, 0.0f, 1000.0f), 1);
  EXPECT_EQ(drawTunnel(h.layer, grid, {0, 0, 0}, {0, 1, 0}, 0.8f, 0.0f, 1000.0f), 1);
  EXPECT_TRUE(h.device().calls.empty()) << "a camera without a basis draws nothing";
  EXPECT_EQ(grid.vertices[0].u, 7.0f);

  GridImage empty(0, 4, 0, 0, 1, 1);
  EXPECT_FALSE(castTunnel(empty, {0, 0, 0}, {0, 0, 1}, 0.0f, 1000.0f));
  EXPECT_EQ(drawTunnel(h.layer, empty, {0, 0, 0}, {0, 0, 1}, 0.8f, 0.0f, 1000.0f), 1);
  EXPECT_TRUE(h.device().calls.empty());
}

}  // namespace
}  // namespace demo::test
