// TGA headers no painting program would write: what the decoder makes of them (the damage sweep
// only proves it survives). Companion cases with ordinary files are in tests/gfx.

#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "archive/loader_contract.h"
#include "archive/reader.h"
#include "gfx/tga_image.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

int decode(const std::vector<uint8_t>& bytes, TgaImage& image, TgaProblem* problem = nullptr) {
  Reader reader;
  auto copy = std::make_unique<uint8_t[]>(bytes.size());
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  reader.assign(std::move(copy), static_cast<uint32_t>(bytes.size()));
  return decodeTga(image, reader, problem);
}

std::vector<uint8_t> trueColourHeader(uint8_t type, uint32_t width, uint32_t height, uint8_t depth) {
  std::vector<uint8_t> b(18, 0);
  b[2] = type;
  b[12] = static_cast<uint8_t>(width);
  b[13] = static_cast<uint8_t>(width >> 8);
  b[14] = static_cast<uint8_t>(height);
  b[15] = static_cast<uint8_t>(height >> 8);
  b[16] = depth;
  return b;
}

TEST(TgaHostileHeaders, DepthsZeroSevenAndThirtyThreeAreRefused) {
  for (uint8_t depth : {0, 7, 33}) {
    auto bytes = trueColourHeader(2, 1, 1, depth);
    bytes.resize(bytes.size() + 8, 0x11);
    TgaImage image;
    TgaProblem problem{};
    EXPECT_EQ(decode(bytes, image, &problem), 1) << int{depth};
    EXPECT_EQ(problem, TgaProblem::UnsupportedDepth) << int{depth};
  }
}

TEST(TgaHostileHeaders, TheLargestSizeInAnEighteenByteFileIsRefusedBeforeAllocating) {
  for (uint8_t type : {2, 10}) {
    TgaImage image;
    TgaProblem problem{};
    EXPECT_EQ(decode(trueColourHeader(type, 65535, 65535, 32), image, &problem), 1);
    EXPECT_EQ(problem, TgaProblem::ShortPixelData);
  }
}

TEST(TgaHostileHeaders, RunLengthPicturesUpToTheCapDecodeAndTallerOnesAreRefused) {
  // Enough packets for every pixel (one run of 128 per packet), so only the cap decides. (Wider
  // than the cap: tests/regress/tga.)
  const uint32_t side = LoaderCaps::imageSide;
  const auto file = [](uint32_t width, uint32_t height) {
    auto bytes = trueColourHeader(10, width, height, 32);
    for (uint64_t packets = (uint64_t{width} * height + 127) / 128; packets > 0; --packets)
      bytes.insert(bytes.end(), {0xFF, 1, 2, 3, 4});
    return bytes;
  };
  TgaImage image;
  TgaProblem problem{};
  EXPECT_EQ(decode(file(side, 1), image, &problem), 0) << describeTgaProblem(problem);
  EXPECT_EQ(decode(file(1, side + 1), image, &problem), 1);
  EXPECT_EQ(problem, TgaProblem::TooLarge);
}

TEST(TgaHostileHeaders, AMapStartingAtEntry100LeavesTheEntriesBelowItBlack) {
  TgaLayout layout;
  layout.imageType = 1;
  layout.depth = 8;
  layout.mapFirst = 100;
  layout.mapEntrySize = 32;
  layout.colourMap = {0x11223344u, 0x55667788u};
  TgaImage image;
  ASSERT_EQ(decode(writeTga(layout, 4, 1, {100, 101, 99, 0}), image), 0);
  uint32_t pixels[4];
  std::memcpy(pixels, image.pixels.get(), sizeof pixels);
  EXPECT_EQ(pixels[0], 0x11223344u);
  EXPECT_EQ(pixels[1], 0x55667788u);
  EXPECT_EQ(pixels[2], 0u);
  EXPECT_EQ(pixels[3], 0u);
}

}  // namespace
}  // namespace demo::test
