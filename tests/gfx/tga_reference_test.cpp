// The decoder against the world: real TGA files made by other programs, each compared with a
// reference decode (8-bit RGBA PNG, top row first) made by two independent decoders.

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "gfx/png_file.h"
#include "gfx/tga_image.h"
#include "support/testdata.h"

namespace demo {
namespace {

// 5-bit channels: decoders differ in how they widen them (floor, round, bit replication).
int toleranceFor(const TgaImage&, const std::string& name) {
  return name.find("16bpp") != std::string::npos ? 1 : 0;
}

TEST(TgaReference, EveryDecodableFileMatchesItsReferencePicture) {
  DEMO_REQUIRE_TESTDATA();
  int compared = 0;
  for (const auto& png : test::testdataFiles("tga", {".tga.png"})) {
    const std::string pngPath = png.string();
    const std::string tgaPath = pngPath.substr(0, pngPath.size() - 4);
    SCOPED_TRACE(tgaPath);
    TgaImage image;
    TgaProblem problem{};
    ASSERT_EQ(decodeImageFile(image, tgaPath.c_str(), &problem), 0) << describeTgaProblem(problem);
    std::vector<uint8_t> rgba;
    uint32_t width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(readPng(pngPath.c_str(), rgba, width, height, &error)) << error;
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, height);
    const int tolerance = toleranceFor(image, tgaPath);
    int worst = 0;
    size_t worstAt = 0;
    for (size_t i = 0; i < size_t{width} * height; ++i) {
      const uint8_t* ours = image.pixels.get() + i * 4;  // B, G, R, A
      const uint8_t* ref = rgba.data() + i * 4;           // R, G, B, A
      const int d = std::max({std::abs(ours[2] - ref[0]), std::abs(ours[1] - ref[1]), std::abs(ours[0] - ref[2]),
                              std::abs(ours[3] - ref[3])});
      if (d > worst) worst = d, worstAt = i;
    }
    EXPECT_LE(worst, tolerance) << "at pixel (" << worstAt % width << ", " << worstAt / width << ")";
    ++compared;
  }
  EXPECT_GE(compared, 20) << "fewer reference pictures than expected in " << test::testdataDir();
}

TEST(TgaReference, MalformedAndUnsupportedFilesAreRefusedWithoutHarm) {
  DEMO_REQUIRE_TESTDATA();
  const auto dir = test::testdataDir() / "tga";
  const struct {
    const char* name;
    TgaProblem problem;
  } refused[] = {
      {"gdk-pixbuf_empty-file.tga", TgaProblem::ShortHeader},
      {"gdk-pixbuf_colormap-image-without-colormap.tga", TgaProblem::MissingColourMap},
      {"gdk-pixbuf_gtk-logo-gray-rle-16bpp-top-left.tga", TgaProblem::UnsupportedType},
  };
  for (const auto& file : refused) {
    TgaImage image;
    TgaProblem problem{};
    EXPECT_EQ(decodeImageFile(image, (dir / file.name).c_str(), &problem), 1) << file.name;
    EXPECT_EQ(problem, file.problem) << file.name;
  }
  // Indices past its 106 entries read the zeroed rest of the 256-entry map.
  TgaImage image;
  ASSERT_EQ(decodeImageFile(image, (dir / "gdk-pixbuf_colormap-too-small.tga").c_str()), 0);
  EXPECT_EQ(image.width, 48u);
}

}  // namespace
}  // namespace demo
