// The TGA decoder's damage sweep: every damaged copy of each writer-made fixture and of each real
// file of the shared test data decoded, and a decoded picture resampled and converted as textures
// are made from it. A copy decodes to a whole picture or fails with 1 and no pixels.

#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "archive/reader.h"
#include "gfx/pixel_convert.h"
#include "gfx/tga_image.h"
#include "sweep_inputs.h"

namespace demo::test {
namespace {

void decodeCopy(DamagedCopy& copy) {
  Reader reader;
  adopt(reader, copy);
  TgaImage image;
  if (decodeTga(image, reader) != 0) {
    EXPECT_EQ(image.pixels, nullptr) << currentDamage();
    return;
  }
  ASSERT_NE(image.pixels, nullptr) << currentDamage();
  // Squeezed and stretched, as loadtexture and scene materials do; a 16-bit copy of the result.
  for (const auto& [w, h] : {std::pair{4u, 4u}, std::pair{64u, 16u}}) {
    std::vector<uint8_t> texture(w * h * 4);
    resample(texture.data(), static_cast<int32_t>(w * 4), w, h, image.pixels.get(), image.width * 4, image.width,
             image.height);
    std::vector<uint8_t> sixteen(w * h * 2);
    convertTo565(sixteen.data(), static_cast<int32_t>(w * 2), texture.data(), static_cast<int32_t>(w * 4), w, h);
  }
}

class TgaSweep : public ::testing::TestWithParam<SweepInput> {};
TEST_P(TgaSweep, EveryDamagedCopyDecodesWholeOrNotAtAll) { runSweep(GetParam(), decodeCopy); }
INSTANTIATE_TEST_SUITE_P(Files, TgaSweep, ::testing::ValuesIn(sweepInputs(tgaFixtures(), "tga", {".tga"})),
                         sweepCaseName);

}  // namespace
}  // namespace demo::test
