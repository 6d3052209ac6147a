// Blur levels on a real image: what the own texture shows after each change, what a change costs,
// and the blurimage and spackblurimage commands driving it.
#include <gtest/gtest.h>

#include "fx/blur_rows.h"
#include "fx/image.h"
#include "fx/random.h"
#include "fx_fixtures.h"
#include "support/show_harness.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo::test {
namespace {

class ImageBlurTest : public ::testing::Test {
 protected:
  static constexpr uint32_t Width = 64, Height = 8;

  void SetUp() override {
    picture = randomPicture(Width, Height, 3);
    source = makeSourceTexture(h.device(), Width, Height, picture);
    ASSERT_TRUE(image.initImage(h.layer, source, 0, 0, 0, 1, 1));
  }
  void TearDown() override {
    if (source) source->Release();
  }
  MemoryTexture& own() { return *static_cast<MemoryTexture*>(image.ownTexture); }
  std::vector<uint16_t> blurredAt(int32_t level) {
    std::vector<uint8_t> bytes = pictureBytes(picture, Width, Height, Width * 4);
    std::vector<uint16_t> out(Width * Height);
    blurRows(reinterpret_cast<uint8_t*>(out.data()), Width * 2, bytes.data(), Width * 4, Width, Height, level,
             BlurLayout::R5G6B5);
    return out;
  }

  ShowHarness h;
  std::vector<uint32_t> picture;
  Texture* source = nullptr;
  Image image;
};

TEST_F(ImageBlurTest, EachLevelIsBuiltFromTheSourceSoLevelZeroRestoresTheConversionExactly) {
  const std::vector<uint16_t> sharp = texels16(image.ownTexture);
  EXPECT_EQ(setBlurLevel(image, 10), 1);
  EXPECT_EQ(image.blurLevel, 10);
  EXPECT_EQ(texels16(image.ownTexture), blurredAt(10));
  EXPECT_NE(texels16(image.ownTexture), sharp);
  EXPECT_EQ(setBlurLevel(image, 3), 1);
  EXPECT_EQ(texels16(image.ownTexture), blurredAt(3)) << "not level 3 applied over level 10";
  EXPECT_EQ(setBlurLevel(image, 0), 1);
  EXPECT_EQ(texels16(image.ownTexture), sharp);
  EXPECT_FALSE(own().isLocked());
  EXPECT_FALSE(static_cast<MemoryTexture*>(source)->isLocked());
}

TEST_F(ImageBlurTest, TheSameLevelTwiceDoesNoWork) {
  ASSERT_EQ(setBlurLevel(image, 10), 1);
  const uint64_t revision = own().revision();
  EXPECT_EQ(setBlurLevel(image, 10), 1);
  EXPECT_EQ(own().revision(), revision);
  // The unblurred level after creation is level 0 too.
  Image fresh;
  ASSERT_TRUE(fresh.initImage(h.layer, source, 0, 0, 0, 1, 1));
  const uint64_t created = static_cast<MemoryTexture*>(fresh.ownTexture)->revision();
  EXPECT_EQ(setBlurLevel(fresh, 0), 1);
  EXPECT_EQ(static_cast<MemoryTexture*>(fresh.ownTexture)->revision(), created);
}

TEST_F(ImageBlurTest, AFailedLockKeepsTheNewLevelAndLeavesNothingLocked) {
  D3DLOCKED_RECT held{};
  ASSERT_EQ(image.ownTexture->LockRect(0, &held, nullptr, 0), D3D_OK);
  EXPECT_EQ(setBlurLevel(image, 4), 0);
  EXPECT_EQ(image.blurLevel, 4) << "so the same level is not tried again";
  image.ownTexture->UnlockRect(0);
  const uint64_t revision = own().revision();
  EXPECT_EQ(setBlurLevel(image, 4), 1);
  EXPECT_EQ(own().revision(), revision);

  ASSERT_EQ(source->LockRect(0, &held, nullptr, 0), D3D_OK);
  EXPECT_EQ(setBlurLevel(image, 5), 0);
  EXPECT_FALSE(own().isLocked()) << "the own texture is unlocked again when the source cannot be locked";
  EXPECT_EQ(setBlurLevel(image, 0), 0) << "nor can the plain conversion";
  EXPECT_EQ(image.blurLevel, 0);
  source->UnlockRect(0);
}

TEST_F(ImageBlurTest, AnImageWithoutTexturesOnlyRecordsTheLevel) {
  Image bare;
  EXPECT_EQ(setBlurLevel(bare, 6), 0);
  EXPECT_EQ(bare.blurLevel, 6);
  EXPECT_EQ(setBlurLevel(bare, 0), 0);
  EXPECT_EQ(bare.blurLevel, 0);
}

// The commands over an image made by the script from a TGA file.
class BlurCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto bytes = writeTga(TgaLayout{}, 32, 4, randomPicture(32, 4, 11));
    writeFile(dir / "p.tga", {bytes.begin(), bytes.end()});
  }
  std::string prelude() const {
    return "loadtexture <t> \"" + (dir / "p.tga").string() + "\" 32 4 0\nmakeimage <i> <t> 0 0 1 1\nstart\n";
  }
  Image& image() { return *h.show.names.images.findName("i")->object; }

  TempDir dir;
  ShowHarness h;
};

TEST_F(BlurCommandsTest, SpackblurRestoresTheLevelItFoundAndDrawsTwoNumbersPerChange) {
  ASSERT_TRUE(h.compile(prelude() + "blurimage <i> 5 5 0\nat 1:000\nspackblurimage <i> 10 20 100 200 +1:000\n"
                                    "at 9:000\n"));
  h.frame(0);
  ASSERT_EQ(image().blurLevel, 5);
  const std::vector<uint16_t> atFive = texels16(image().ownTexture);
  h.frame(1000);
  Random expected;
  const auto r1 = static_cast<uint32_t>(expected.next());
  const auto r2 = static_cast<uint32_t>(expected.next());
  EXPECT_EQ(image().blurLevel, static_cast<int32_t>(10 + r1 * 10 / 32767));
  EXPECT_EQ(h.show.random.state(), expected.state());
  EXPECT_NE(texels16(image().ownTexture), atFive);
  const uint32_t next = 1000 + 100 + r2 * 100 / 32767;
  h.frame(next);
  expected.next();
  expected.next();
  EXPECT_EQ(h.show.random.state(), expected.state());
  h.frame(2000);
  EXPECT_EQ(image().blurLevel, 5);
  EXPECT_EQ(texels16(image().ownTexture), atFive) << "the texture shows level 5 again";
}

TEST_F(BlurCommandsTest, SpackblurBetweenZeroAndZeroKeepsTheImageSharpButStillDraws) {
  ASSERT_TRUE(h.compile(prelude() + "spackblurimage <i> 0 0 10 10 1:000\nat 9:000\n"));
  h.frame(0);
  const std::vector<uint16_t> sharp = texels16(image().ownTexture);
  for (uint32_t t = 0; t < 1000; t += 10) h.frame(t);
  EXPECT_EQ(image().blurLevel, 0);
  EXPECT_EQ(texels16(image().ownTexture), sharp);
  Random expected;
  for (int change = 0; change < 100; ++change) {
    expected.next();
    expected.next();
  }
  EXPECT_EQ(h.show.random.state(), expected.state()) << "one change every 10 ms, two numbers each";
}

}  // namespace
}  // namespace demo::test
