// The box blur's arithmetic: the window, its clamped edges, the truncating multipliers, the two
// output layouts, and the vector path giving the scalar path's pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "fx/blur_rows.h"
#include "fx_fixtures.h"

namespace demo::test {
namespace {

constexpr BlurLayout Layouts[] = {BlurLayout::R5G6B5, BlurLayout::A4R4G4B4};

struct Blurred {
  std::vector<uint16_t> pixels;  // width x height, padding dropped
  bool paddingIntact = true;     // nothing was written between a row's end and the next row
};

using BlurFunction = void (*)(uint8_t*, int32_t, const uint8_t*, int32_t, uint32_t, uint32_t, int32_t, BlurLayout);

// Runs a blur path with both pitches wider than the rows, the padding filled with a marker.
Blurred run(BlurFunction blur, const std::vector<uint32_t>& picture, uint32_t width, uint32_t height, int32_t radius,
            BlurLayout layout) {
  const uint32_t sourcePitch = width * 4 + 12, destinationPitch = width * 2 + 6;
  const std::vector<uint8_t> source = pictureBytes(picture, width, height, sourcePitch);
  std::vector<uint8_t> destination(size_t{destinationPitch} * height, 0xAB);
  blur(destination.data(), static_cast<int32_t>(destinationPitch), source.data(), static_cast<int32_t>(sourcePitch),
       width, height, radius, layout);
  Blurred out;
  out.pixels.resize(size_t{width} * height);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = destination.data() + size_t{y} * destinationPitch;
    std::memcpy(out.pixels.data() + size_t{y} * width, row, size_t{width} * 2);
    out.paddingIntact &= std::all_of(row + width * 2, row + destinationPitch, [](uint8_t b) { return b == 0xAB; });
  }
  return out;
}

// The definition, pixel by pixel: the window sum of each output taken afresh.
std::vector<uint16_t> reference(const std::vector<uint32_t>& picture, uint32_t width, uint32_t height, int32_t radius,
                                BlurLayout layout) {
  const int32_t multiplier = blurMultiplier(radius, layout);
  std::vector<uint16_t> out;
  for (uint32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < static_cast<int32_t>(width); ++x) {
      int32_t c[4];
      for (int k = 0; k < 4; ++k) {
        int32_t sum = 0;
        for (int32_t i = x - radius; i < x + radius; ++i) {
          const int32_t clamped = std::clamp(i, 0, static_cast<int32_t>(width) - 1);
          sum += (picture[y * width + clamped] >> (8 * k)) & 0xFF;
        }
        c[k] = sum * multiplier >> 16;
      }
      out.push_back(layout == BlurLayout::A4R4G4B4 ? static_cast<uint16_t>(c[0] | c[1] << 4 | c[2] << 8 | c[3] << 12)
                                                   : static_cast<uint16_t>(c[0] >> 1 | c[1] << 5 | c[2] >> 1 << 11));
    }
  return out;
}

TEST(BlurRows, LevelOneAveragesWithTheLeftNeighbourAndDoublesTheFirstPixel) {
  // Only the first pixel is lit: it counts twice in output 0, once in output 1, never after.
  const std::vector<uint32_t> row = {0xFF2864C8u, 0, 0, 0};  // alpha 255, red 40, green 100, blue 200
  EXPECT_EQ(run(blurRows, row, 4, 1, 1, BlurLayout::A4R4G4B4).pixels,
            (std::vector<uint16_t>{0xF26C, 0x7136, 0, 0}));
  EXPECT_EQ(run(blurRows, row, 4, 1, 1, BlurLayout::R5G6B5).pixels, (std::vector<uint16_t>{0x2318, 0x118C, 0, 0}));
  EXPECT_EQ(run(blurRowsScalar, row, 4, 1, 1, BlurLayout::R5G6B5).pixels,
            (std::vector<uint16_t>{0x2318, 0x118C, 0, 0}));
}

TEST(BlurRows, UniformPicturesStayUniformAtEveryLevel) {
  // White at level 1: blue6 = (510 x 8191) >> 16 = 63, so blue 31 and the whole word 0xFFFF.
  EXPECT_EQ(run(blurRows, std::vector<uint32_t>(8, 0xFFFFFFFFu), 8, 1, 1, BlurLayout::R5G6B5).pixels,
            std::vector<uint16_t>(8, 0xFFFF));
  for (const uint32_t colour : {0xFFFFFFFFu, 0x80C04021u, 0x00000000u})
    for (const BlurLayout layout : Layouts)
      for (int32_t radius = 1; radius <= MaxBlurRadius; ++radius) {
        const auto out = run(blurRows, std::vector<uint32_t>(2 * 130, colour), 130, 2, radius, layout).pixels;
        ASSERT_TRUE(std::all_of(out.begin(), out.end(), [&](uint16_t p) { return p == out[0]; }))
            << std::hex << colour << std::dec << " at level " << radius;
        EXPECT_EQ(out[0], reference(std::vector<uint32_t>(1, colour), 1, 1, radius, layout)[0]);
      }
  // The truncated products land a uniform 0x80 one step below its plain conversion (8 and 16).
  EXPECT_EQ(run(blurRows, std::vector<uint32_t>(128, 0x80808080u), 128, 1, 1, BlurLayout::A4R4G4B4).pixels[5], 0x7777);
  EXPECT_EQ(run(blurRows, std::vector<uint32_t>(128, 0x80808080u), 128, 1, 64, BlurLayout::A4R4G4B4).pixels[5], 0x7777);
  EXPECT_EQ(run(blurRows, std::vector<uint32_t>(128, 0x80808080u), 128, 1, 1, BlurLayout::R5G6B5).pixels[5],
            15 | 31 << 5 | 15 << 11);
}

TEST(BlurRows, BothPathsMatchTheDefinitionAtEveryLevelAndWidth) {
  for (const uint32_t width : {1u, 2u, 3u, 5u, 8u, 17u, 64u, 127u, 128u, 131u})
    for (const uint32_t height : {1u, 2u, 3u}) {
      const auto picture = randomPicture(width, height, width * 7 + height);
      for (const BlurLayout layout : Layouts)
        for (int32_t radius = 1; radius <= MaxBlurRadius; ++radius) {
          const auto expected = reference(picture, width, height, radius, layout);
          const Blurred scalar = run(blurRowsScalar, picture, width, height, radius, layout);
          ASSERT_EQ(scalar.pixels, expected) << "scalar, width " << width << ", level " << radius;
          ASSERT_TRUE(scalar.paddingIntact);
          const Blurred chosen = run(blurRows, picture, width, height, radius, layout);
          ASSERT_EQ(chosen.pixels, expected) << "width " << width << ", level " << radius;
          ASSERT_TRUE(chosen.paddingIntact);
        }
    }
}

TEST(BlurRows, TheVectorPathGivesTheScalarPixels) {
  if (!HaveSse2Blur) GTEST_SKIP() << "no SSE2 path on this machine";
#if defined(__SSE2__)
  for (const uint32_t width : {2u, 9u, 128u, 129u, 512u})
    for (const uint32_t height : {1u, 4u, 5u}) {
      const auto picture = randomPicture(width, height, width + 31 * height);
      for (const BlurLayout layout : Layouts)
        for (int32_t radius = 1; radius <= MaxBlurRadius && 2 * static_cast<uint32_t>(radius) <= width; ++radius) {
          const Blurred vector = run(blurRowsSse2, picture, width, height, radius, layout);
          ASSERT_EQ(vector.pixels, run(blurRowsScalar, picture, width, height, radius, layout).pixels)
              << "width " << width << ", height " << height << ", level " << radius;
          ASSERT_TRUE(vector.paddingIntact);
        }
    }
#endif
}

TEST(BlurRows, LevelsBeyondTheLanesBlurAsTheLargestAndStayInsideTheRows) {
  const auto wide = randomPicture(300, 3, 5);
  for (const BlurLayout layout : Layouts) {
    const auto at64 = run(blurRows, wide, 300, 3, 64, layout).pixels;
    EXPECT_EQ(run(blurRows, wide, 300, 3, 65, layout).pixels, at64);
    EXPECT_EQ(run(blurRows, wide, 300, 3, 1000000, layout).pixels, at64);
  }
  // A row narrower than the window: exact-size buffers, so a stray access trips the sanitizer.
  const auto narrow = randomPicture(3, 2, 9);
  std::vector<uint8_t> source = pictureBytes(narrow, 3, 2, 12);
  std::vector<uint8_t> destination(12);
  blurRows(destination.data(), 6, source.data(), 12, 3, 2, 50, BlurLayout::A4R4G4B4);
  std::vector<uint16_t> out(6);
  std::memcpy(out.data(), destination.data(), 12);
  EXPECT_EQ(out, reference(narrow, 3, 2, 50, BlurLayout::A4R4G4B4));
  // Levels below 1 never reach the blur; if they do, they blur as level 1 rather than divide by 0.
  EXPECT_EQ(run(blurRows, narrow, 3, 2, 0, BlurLayout::R5G6B5).pixels, reference(narrow, 3, 2, 1, BlurLayout::R5G6B5));
}

}  // namespace
}  // namespace demo::test
