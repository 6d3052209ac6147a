// TGA files that made the decoder allocate what no file may ask for.

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "archive/loader_contract.h"
#include "archive/reader.h"
#include "gfx/tga_image.h"
#include "regress_files.h"

namespace demo::test {
namespace {

TEST(TgaRegress, RunLengthPacketsLetASmallFileDeclareMorePixelsThanTheCap) {
  // 16385 x 1 pixels in 129 packets of 128: the size check against the data left passes, as it did
  // for 65535 x 65535 in 168 MB (16 GiB of pixels, an allocation that ended the process). The side
  // cap refuses it; the fuzzing build's lower cap refuses it too.
  const std::vector<uint8_t> bytes = regressFile("tga", "run_length_wider_than_the_cap.tga");
  ASSERT_GT(16385u, LoaderCaps::imageSide);
  Reader reader;
  auto copy = std::make_unique<uint8_t[]>(bytes.size());
  std::memcpy(copy.get(), bytes.data(), bytes.size());
  reader.assign(std::move(copy), static_cast<uint32_t>(bytes.size()));
  TgaImage image;
  TgaProblem problem{};
  EXPECT_EQ(decodeTga(image, reader, &problem), 1);
  EXPECT_EQ(problem, TgaProblem::TooLarge);
  EXPECT_EQ(image.pixels, nullptr);
}

}  // namespace
}  // namespace demo::test
