// The PNG files of the Windows build (zlib alone) read back through libpng pixel for pixel.
#include "gfx/png_encoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/png_file.h"
#include "support/testdata.h"

namespace demo {
namespace {

// Every byte differs from its left neighbour by a varying amount, so a SUB filter that subtracts the
// wrong neighbour (or none) changes the picture; rows carry padding past the pixels.
std::vector<uint8_t> picture(uint32_t width, uint32_t height, int channels, uint32_t stride) {
  std::vector<uint8_t> pixels(size_t{stride} * height, 0xEE);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t i = 0; i < width * uint32_t(channels); ++i)
      pixels[size_t{y} * stride + i] = static_cast<uint8_t>(i * i * 7 + y * 31 + (i % 3) * 90);
  return pixels;
}

std::vector<uint8_t> decoded(const std::vector<uint8_t>& png) {
  test::TempDir dir;
  test::writeFile(dir / "p.png", {png.begin(), png.end()});
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  EXPECT_TRUE(readPng((dir / "p.png").c_str(), rgba, width, height));
  return rgba;
}

TEST(PngEncoder, RgbAndRgbaFramesReadBackExactlyWhateverTheRowStride) {
  for (const int channels : {3, 4}) {
    constexpr uint32_t Width = 37, Height = 5;
    const uint32_t stride = Width * channels + 3;
    const std::vector<uint8_t> pixels = picture(Width, Height, channels, stride);
    std::vector<uint8_t> png;
    ASSERT_TRUE(encodePng(pixels.data(), Width, Height, stride, channels, png));
    const std::vector<uint8_t> rgba = decoded(png);
    ASSERT_EQ(rgba.size(), size_t{Width} * Height * 4);
    for (uint32_t y = 0; y < Height; ++y)
      for (uint32_t x = 0; x < Width; ++x)
        for (int c = 0; c < 4; ++c) {
          const uint8_t expected = c < channels ? pixels[size_t{y} * stride + x * channels + c] : 255;
          ASSERT_EQ(rgba[(size_t{y} * Width + x) * 4 + c], expected) << channels << " channels, " << x << ", " << y;
        }
  }
}

TEST(PngEncoder, RefusesLayoutsItCannotWrite) {
  const std::vector<uint8_t> pixels(64);
  std::vector<uint8_t> png;
  EXPECT_FALSE(encodePng(pixels.data(), 0, 1, 12, 3, png));
  EXPECT_FALSE(encodePng(pixels.data(), 4, 1, 12, 2, png));
  EXPECT_FALSE(encodePng(pixels.data(), 4, 1, 11, 3, png));  // a stride shorter than a row
}

}  // namespace
}  // namespace demo
