// The 2D blob field: blob paths, the potential, the warp and colours it writes into the grid, and
// the make2dblobs and show2dblobs commands.
#include <gtest/gtest.h>

#include <cmath>

#include "fx/blobs_2d.h"
#include "fx_fixtures.h"
#include "support/show_harness.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

TEST(Blobs2D, AtTimeZeroTheBlobsSitOnTheLowerEdgeWithTheirBaseStrengths) {
  GridImage grid(64, 64, 0, 0, 1, 1);
  Blobs2D field(grid);
  field.update(0.0f);
  const float expected[3][3] = {{0.5f, 0.9f, 0.001f}, {0.5f, 0.9f, 0.002f}, {0.9f, 0.9f, 0.001f}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(field.blobs[k].x, expected[k][0]) << "blob " << k;
    EXPECT_FLOAT_EQ(field.blobs[k].y, expected[k][1]) << "blob " << k;
    EXPECT_FLOAT_EQ(field.blobs[k].strength, expected[k][2]) << "blob " << k;
  }
  // A = 2s and d = A x 0.01: at s = 10 (one second of show) d = 0.2.
  field.update(10.0f);
  EXPECT_NEAR(field.blobs[0].x, 0.4 * std::sin(1.4) + 0.5, 1e-6);
  EXPECT_NEAR(field.blobs[2].y, 0.4 * std::cos(1.26) + 0.5, 1e-6);
  EXPECT_NEAR(field.blobs[1].strength, 0.001 * (std::cos(1.8) + 1), 1e-9);
}

TEST(Blobs2D, TheFieldFallsOffWithTheSixthPowerOfTheDistance) {
  // 9 columns and 19 rows: field cell (9, 10) has row coordinate 9 / (9 + 1) and column coordinate
  // 10 / (19 + 1), the centre of blobs 0 and 1 at time 0 - the two divisors are crossed.
  GridImage grid(9, 19, 0, 0, 1, 1);
  Blobs2D field(grid);
  field.update(0.0f);
  ASSERT_EQ(field.field.size(), 22u * 12u);
  const double blob2 = 0.001 / (std::pow(0.4 * 0.4, 3) + 0.0006);
  EXPECT_NEAR(field.fieldAt(9, 10), 0.001 / 0.0006 + 0.002 / 0.0006 + blob2, 1e-4);
  EXPECT_LT(field.fieldAt(9, 9), field.fieldAt(9, 10));
  EXPECT_LT(field.fieldAt(0, 0), 0.01f) << "far from every blob the field is nearly flat";
}

TEST(Blobs2D, TextureCoordinatesArePushedAgainstTheSlopeAroundTheVertex) {
  // A grid that is not square tells the neighbours and the crossed scales apart: across, the
  // undisplaced u runs in steps of 1 / (rows + 1); down, v in steps of 1 / (cols + 1).
  GridImage grid(9, 19, 0, 0, 1, 1);
  Blobs2D field(grid);
  field.update(57.0f);
  for (const auto& [i, j] : {std::pair{0, 0}, std::pair{7, 3}, std::pair{19, 9}, std::pair{12, 8}}) {
    const GridVertex& v = grid.vertices[static_cast<size_t>(i) * 10 + j];
    const float across = field.fieldAt(i + 1, j + 2) - field.fieldAt(i + 1, j);
    const float down = field.fieldAt(i + 2, j + 1) - field.fieldAt(i, j + 1);
    EXPECT_FLOAT_EQ(v.u, static_cast<float>(j / 20.0 - across)) << i << ", " << j;
    EXPECT_FLOAT_EQ(v.v, static_cast<float>(i / 10.0 - down)) << i << ", " << j;
  }
  // Positions are never moved.
  EXPECT_EQ(grid.vertices[13].x, GridImage(9, 19, 0, 0, 1, 1).vertices[13].x);
}

TEST(Blobs2D, ColoursComeFromTheGridColourAndWrapToEightBits) {
  GridImage grid(64, 64, 0, 0, 1, 1);
  Blobs2D field(grid);
  grid.colour = 0xFF000000u;
  field.update(123.4f);
  for (const GridVertex& v : grid.vertices) ASSERT_EQ(v.colour, 0xFF008000u) << "blue 0, green 128, alpha 255";
  // White at time 0, top-left vertex: blue = (84 + 0 + 128) x 1 = 212; green = (84 + 44) x 1 + 128
  // = 256, which keeps its low 8 bits: 0. (255 x 0.003921569f is exactly 1 in float.)
  grid.colour = 0x80FFFFFFu;
  field.update(0.0f);
  EXPECT_EQ(grid.vertices[0].colour, 0x800000D4u);
  grid.colour = 0x00000000u;
  field.update(0.0f);
  EXPECT_EQ(grid.vertices[0].colour, 0x00008000u) << "red is always 0, alpha the grid's";
}

TEST(Blobs2D, UpdateAndDrawDrawsTheWarpedGrid) {
  ShowHarness h;
  GridImage grid(8, 8, 0, 0, 1, 1);
  Blobs2D field(grid);
  h.device().clearLog();
  EXPECT_EQ(field.updateAndDraw(h.layer, 50.0f), 1);
  ASSERT_EQ(h.device().draws.size(), 8u);
  EXPECT_EQ(h.device().draws[0].colorVertex(3).u, grid.vertices[3].u);
  EXPECT_EQ(h.device().draws[0].colorVertex(3).diffuse, grid.vertices[3].colour);
}

class Blobs2DCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bytes = writeTga(TgaLayout{}, 16, 16, randomPicture(16, 16, 4));
    writeFile(dir / "p.tga", {bytes.begin(), bytes.end()});
  }
  std::string prelude() const {
    return "loadtexture <t> \"" + (dir / "p.tga").string() +
           "\" 16 16 0\nmakegridimage <g> <t> 64 64\nmakeimage <i> <t> 0 0 1 1\n";
  }

  TempDir dir;
  ShowHarness h;
};

TEST_F(Blobs2DCommandsTest, Show2dblobsBlendsTheGridWithThePhaseOfTheClock) {
  ASSERT_TRUE(h.compile(prelude() + "make2dblobs <b> <g>\nstart\nshow2dblobs <b> 5:000\nat 9:000\n"));
  h.frame(0);
  h.device().clearLog();
  h.frame(1000);
  ASSERT_EQ(h.device().draws.size(), 64u);
  const DrawRecord& strip = h.device().draws[0];
  EXPECT_EQ(strip.renderStates.at(D3DRS_ALPHABLENDENABLE), 1u);
  EXPECT_EQ(strip.renderStates.at(D3DRS_SRCBLEND), static_cast<uint32_t>(D3DBLEND_SRCALPHA));
  EXPECT_EQ(strip.renderStates.at(D3DRS_DESTBLEND), static_cast<uint32_t>(D3DBLEND_INVSRCALPHA));
  const Blobs2D* field = effectAs<Blobs2D>(h.show.names.effects.findName("b"));
  ASSERT_NE(field, nullptr);
  EXPECT_NEAR(field->blobs[0].x, 0.4 * std::sin(1.4) + 0.5, 1e-6) << "s = demoTime x 0.01";
  h.frame(5000);
  EXPECT_EQ(h.device().draws.size(), 64u) << "nothing drawn at the end time";
}

TEST_F(Blobs2DCommandsTest, APlainImageCarriesNoFieldAndShowsNothing) {
  ASSERT_TRUE(h.compile(prelude() + "make2dblobs <b> <g>\nmake2dblobs <b> <i>\nstart\nshow2dblobs <b> 5:000\n"
                                    "at 9:000\n"));
  h.device().clearLog();
  EXPECT_EQ(h.frame(0), StepResult::Continue);
  h.frame(100);
  EXPECT_EQ(effectAs<Blobs2D>(h.show.names.effects.findName("b")), nullptr) << "the old field went too";
  EXPECT_TRUE(h.device().draws.empty());
}

}  // namespace
}  // namespace demo::test
