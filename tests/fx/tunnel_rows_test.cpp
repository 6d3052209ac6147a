// The tunnel's inner loop: its own arc tangent against the C library's, and the SSE2 path against
// the portable one, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "fx/tunnel.h"
#include "fx/tunnel_rows.h"

namespace demo::test {
namespace {

TEST(TunnelAtan2, AgreesWithTheLibraryWithinAFewUnitsInTheLastPlace) {
  float worst = 0.0f;
  for (int i = 0; i <= 200000; ++i) {
    const double angle = -M_PI + 2 * M_PI * i / 200000.0;
    for (float radius : {1e-6f, 0.7f, 500.0f, 3e7f}) {
      const auto x = static_cast<float>(std::cos(angle) * radius), y = static_cast<float>(std::sin(angle) * radius);
      worst = std::max(worst, std::fabs(tunnelAtan2(y, x) - std::atan2(y, x)));
    }
  }
  EXPECT_LE(worst, 5e-7f);
  // The axes and the signed zeros, as atan2 has them: the seam of the tube on the negative x side.
  EXPECT_EQ(tunnelAtan2(0.0f, 0.0f), 0.0f);
  EXPECT_EQ(tunnelAtan2(0.0f, 500.0f), 0.0f);
  EXPECT_FLOAT_EQ(tunnelAtan2(0.0f, -500.0f), 3.14159265f);
  EXPECT_FLOAT_EQ(tunnelAtan2(-0.0f, -500.0f), -3.14159265f);
  EXPECT_FLOAT_EQ(tunnelAtan2(500.0f, 0.0f), 1.57079633f);
  EXPECT_FLOAT_EQ(tunnelAtan2(-500.0f, -0.0f), -1.57079633f);
  EXPECT_FLOAT_EQ(tunnelAtan2(1.0f, 1.0f), 0.785398163f);
}

#if defined(__SSE2__)
TEST(TunnelRows, TheSse2PathGivesTheSameBitsAsThePortableOne) {
  std::mt19937 generator(11);
  std::uniform_real_distribution<float> spread(-1.0f, 1.0f);
  int misses = 0, hits = 0;
  for (int trial = 0; trial < 400; ++trial) {
    // Eyes inside and outside the tube, some on its axis, cameras in every direction and roll.
    const float reach = trial % 3 == 0 ? 3000.0f : 450.0f;
    const Vec3 eye = trial % 7 == 0 ? Vec3{0, 0, spread(generator) * 100}
                                    : Vec3{spread(generator) * reach, spread(generator) * reach, spread(generator) * 1e4f};
    const Vec3 target{eye.x + spread(generator), eye.y + spread(generator), eye.z + spread(generator)};
    TunnelRays rays;
    if (!tunnelRays(eye, target, spread(generator) * 4, rays)) continue;
    const int32_t columns = 1 + trial % 70;
    TunnelRow row{rays.a, rays.b, rays.c, 1.0f - spread(generator) * spread(generator), 1.0f / (columns - 1 + 1e-3f),
                  eye, 4.0f * (eye.x * eye.x + eye.y * eye.y) - 1e6f};
    std::vector<GridVertex> portable(columns, GridVertex{1, 2, 3, 0x5A5A5A5Au, 7, 8});
    std::vector<GridVertex> fast = portable;
    castRowScalar(row, portable.data(), 0, columns);
    castRow(row, fast.data(), columns);
    ASSERT_EQ(std::memcmp(portable.data(), fast.data(), columns * sizeof(GridVertex)), 0) << "trial " << trial;
    for (const GridVertex& v : portable) (v.colour ? hits : misses)++;
  }
  EXPECT_GT(hits, 1000);
  EXPECT_GT(misses, 100) << "misses must be among the cases compared";
}
#endif

}  // namespace
}  // namespace demo::test
