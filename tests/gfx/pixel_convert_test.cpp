#include "gfx/pixel_convert.h"

#include <vector>

#include <gtest/gtest.h>

namespace demo {
namespace {

std::vector<uint8_t> numberedRow(uint32_t width) {
  std::vector<uint8_t> row(width * 4);
  for (uint32_t x = 0; x < width; ++x) {
    row[x * 4] = static_cast<uint8_t>(x);
    row[x * 4 + 1] = static_cast<uint8_t>(x >> 8);
  }
  return row;
}

uint32_t sourceIndex(const std::vector<uint8_t>& pixels, uint32_t i) { return pixels[i * 4] | pixels[i * 4 + 1] << 8; }

TEST(Resample, DoublingRepeatsEachPixelAndHalvingTakesEverySecondFromTheFirst) {
  const auto source = numberedRow(256);
  std::vector<uint8_t> wide(512 * 4), narrow(128 * 4);
  resample(wide.data(), 512 * 4, 512, 1, source.data(), 256 * 4, 256, 1);
  resample(narrow.data(), 128 * 4, 128, 1, source.data(), 256 * 4, 256, 1);
  for (uint32_t x = 0; x < 512; ++x) ASSERT_EQ(sourceIndex(wide, x), x / 2) << x;
  for (uint32_t x = 0; x < 128; ++x) ASSERT_EQ(sourceIndex(narrow, x), x * 2) << x;
}

TEST(Resample, RowsFollowTheSameFixedPointStepsAndPitchesAreHonoured) {
  // 3 rows into 7: yStep = 3 * 256 / 7 = 109, so rows 0,0,0,1,1,2,2.
  std::vector<uint8_t> source(3 * 4 * 3);
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 3; ++x) source[(y * 3 + x) * 4] = static_cast<uint8_t>(y * 16 + x);
  const int32_t pitch = 5 * 4;  // wider than the 4 pixels written
  std::vector<uint8_t> out(pitch * 7, 0xEE);
  resample(out.data(), pitch, 4, 7, source.data(), 3 * 4, 3, 3);
  const uint32_t rows[7] = {0, 0, 0, 1, 1, 2, 2};
  // xStep = 3 * 256 / 4 = 192: columns 0, 0, 1, 2.
  const uint32_t columns[4] = {0, 0, 1, 2};
  for (uint32_t y = 0; y < 7; ++y) {
    for (uint32_t x = 0; x < 4; ++x) EXPECT_EQ(out[y * pitch + x * 4], rows[y] * 16 + columns[x]) << x << "," << y;
    EXPECT_EQ(out[y * pitch + 16], 0xEE) << "padding of row " << y << " was written";
  }
}

TEST(Convert, TruncatesToTheSixteenBitLayouts) {
  const uint8_t pixel[4] = {0xFF, 0x80, 0x7F, 0x9C};  // blue, green, red, alpha
  uint8_t out[2];
  convertTo565(out, 2, pixel, 4, 1, 1);
  EXPECT_EQ(out[0] | out[1] << 8, (0x7F >> 3) << 11 | (0x80 >> 2) << 5 | 0x1F);
  convertTo4444(out, 2, pixel, 4, 1, 1);
  EXPECT_EQ(out[0] | out[1] << 8, 0x978F);
  static_assert(pixelTo565(255, 255, 255) == 0xFFFF && pixelTo4444(0, 0, 0, 255) == 0xF000);
}

TEST(Convert, WidthsNotAMultipleOfFourStopAtTheRowEnd) {
  for (uint32_t width : {1u, 3u, 5u, 7u}) {
    std::vector<uint8_t> source(width * 4 * 2, 0xFF);
    const int32_t pitch = static_cast<int32_t>(width * 2 + 6);
    std::vector<uint8_t> out(pitch * 2, 0);
    convertTo565(out.data(), pitch, source.data(), static_cast<int32_t>(width * 4), width, 2);
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t i = 0; i < pitch; ++i)
        EXPECT_EQ(out[y * pitch + i], i < static_cast<int32_t>(width * 2) ? 0xFF : 0) << width << " row " << y;
  }
}

}  // namespace
}  // namespace demo
