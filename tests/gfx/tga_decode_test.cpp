#include "gfx/tga_image.h"

#include <cstring>

#include <gtest/gtest.h>

#include "archive/reader.h"
#include "support/testdata.h"
#include "writers/tga_writer.h"

namespace demo {
namespace {

int decodeBytes(const std::vector<uint8_t>& bytes, TgaImage& image, TgaProblem* problem = nullptr) {
  Reader reader;
  auto copy = std::make_unique<uint8_t[]>(bytes.size() + 1);
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  reader.assign(std::move(copy), static_cast<uint32_t>(bytes.size()));
  return decodeTga(image, reader, problem);
}

uint32_t pixelAt(const TgaImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = image.pixels.get() + (size_t{y} * image.width + x) * 4;
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

std::vector<uint32_t> allPixels(const TgaImage& image) {
  std::vector<uint32_t> out;
  for (uint32_t y = 0; y < image.height; ++y)
    for (uint32_t x = 0; x < image.width; ++x) out.push_back(pixelAt(image, x, y));
  return out;
}

// A 5 x 3 picture with every pixel different, so any misplacement shows.
std::vector<uint32_t> testPicture(uint32_t width = 5, uint32_t height = 3) {
  std::vector<uint32_t> p;
  for (uint32_t i = 0; i < width * height; ++i) p.push_back(0x80000000u | (i * 0x010203u + 0x102030u));
  return p;
}

TEST(TgaName, AcceptsOnlyNamesEndingInTga) {
  EXPECT_TRUE(isTgaName("picture.tga"));
  EXPECT_TRUE(isTgaName("PICTURE.TGA"));
  EXPECT_TRUE(isTgaName("dir.v2/x.TgA"));
  EXPECT_FALSE(isTgaName("picture.tga.bak"));
  EXPECT_FALSE(isTgaName("tga"));
  EXPECT_FALSE(isTgaName("picture"));
  EXPECT_FALSE(isTgaName("picture.tgax"));
  TgaImage image;
  TgaProblem problem{};
  EXPECT_EQ(decodeImageFile(image, "abc", &problem), 1);
  EXPECT_EQ(problem, TgaProblem::BadName);
  EXPECT_EQ(decodeImageFile(image, "no-such-file.tga", &problem), ReadNotFound);
}

TEST(TgaDecode, SixteenBitPixelsIgnoreTheTopBitAndExpandByFloor) {
  TgaLayout layout;
  layout.depth = 16;
  TgaImage image;
  ASSERT_EQ(decodeBytes(writeTga(layout, 3, 1, {0x7FFF, 0x8000, 0x0C63}), image), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(pixelAt(image, 1, 0), 0xFF000000u);
  // 3 of 31 in each channel: floor(3 * 255 / 31) = 24.
  EXPECT_EQ(pixelAt(image, 2, 0), 0xFF181818u);
  layout.depth = 15;
  ASSERT_EQ(decodeBytes(writeTga(layout, 3, 1, {0x7FFF, 0x8000, 0x0C63}), image), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0xFFFFFFFFu);
}

TEST(TgaDecode, TwentyFourAndThirtyTwoBitChannels) {
  TgaLayout layout;
  layout.depth = 24;
  TgaImage image;
  ASSERT_EQ(decodeBytes(writeTga(layout, 1, 1, {0x00123456}), image), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0xFF123456u);  // 24-bit pixels are opaque
  layout.depth = 32;
  ASSERT_EQ(decodeBytes(writeTga(layout, 1, 1, {0x12345678}), image), 0);
  EXPECT_EQ(pixelAt(image, 0, 0), 0x12345678u);
}

TEST(TgaDecode, EveryRowOrderAndDirectionGivesTheSamePicture) {
  const auto picture = testPicture();
  for (uint8_t type : {2, 10}) {
    for (bool topToBottom : {false, true}) {
      for (bool rightToLeft : {false, true}) {
        TgaLayout layout;
        layout.imageType = type;
        layout.topToBottom = topToBottom;
        layout.rightToLeft = rightToLeft;
        TgaImage image;
        ASSERT_EQ(decodeBytes(writeTga(layout, 5, 3, picture), image), 0);
        EXPECT_EQ(allPixels(image), picture)
            << "type " << int{type} << " top " << topToBottom << " rtl " << rightToLeft;
      }
    }
  }
}

TEST(TgaDecode, RunPacketOfThreeRepeatsOneStoredPixel) {
  TgaLayout layout;
  layout.imageType = 10;
  layout.depth = 24;
  std::vector<uint8_t> bytes = writeTga(layout, 3, 1, std::vector<uint32_t>(3, 0x332211u));
  ASSERT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<uint8_t>{0x82, 0x11, 0x22, 0x33}))
      << "one packet of three, one stored pixel";
  TgaImage image;
  ASSERT_EQ(decodeBytes(bytes, image), 0);
  EXPECT_EQ(allPixels(image), (std::vector<uint32_t>{0xFF332211u, 0xFF332211u, 0xFF332211u}));
  // One stored pixel less than the packet needs is a short file.
  bytes.pop_back();
  TgaProblem problem{};
  EXPECT_EQ(decodeBytes(bytes, image, &problem), 1);
  EXPECT_EQ(problem, TgaProblem::ShortPixelData);
}

TEST(TgaDecode, PacketsCrossingRowEndsContinueInTheNextRow) {
  const auto picture = testPicture(4, 4);
  std::vector<uint32_t> runs(16, 0xFF0000FFu);  // one run across every row
  for (uint32_t i = 6; i < 16; ++i) runs[i] = picture[i];
  for (bool topToBottom : {false, true}) {
    TgaLayout layout;
    layout.imageType = 10;
    layout.topToBottom = topToBottom;
    layout.packetsCrossRows = true;
    TgaImage image;
    ASSERT_EQ(decodeBytes(writeTga(layout, 4, 4, runs), image), 0);
    EXPECT_EQ(allPixels(image), runs);
  }
}

TEST(TgaDecode, RunsPastTheLastRowAreDropped) {
  TgaLayout layout;
  layout.imageType = 10;
  layout.topToBottom = false;
  layout.pixelData = std::vector<uint8_t>{0xFF, 1, 2, 3, 4};  // one pixel repeated 128 times
  TgaImage image;
  ASSERT_EQ(decodeBytes(writeTga(layout, 2, 2, {}), image), 0);
  EXPECT_EQ(allPixels(image), std::vector<uint32_t>(4, 0x04030201u));
}

TEST(TgaDecode, ColourMapEntriesStartAtTheFirstIndexAndMissingOnesReadZero) {
  TgaLayout layout;
  layout.imageType = 1;
  layout.depth = 8;
  layout.mapFirst = 2;
  layout.mapEntrySize = 32;
  layout.colourMap = {0x11223344, 0x55667788};
  TgaImage image;
  ASSERT_EQ(decodeBytes(writeTga(layout, 4, 1, {2, 3, 0, 200}), image), 0);
  EXPECT_EQ(allPixels(image), (std::vector<uint32_t>{0x11223344u, 0x55667788u, 0, 0}));

  for (uint8_t bits : {15, 16, 24}) {
    layout.mapEntrySize = bits;
    layout.mapFirst = 0;
    layout.colourMap = {0xFFFFFFFF};
    layout.imageType = 9;
    ASSERT_EQ(decodeBytes(writeTga(layout, 2, 1, {0, 0}), image), 0) << int{bits};
    EXPECT_EQ(pixelAt(image, 1, 0), 0xFFFFFFFFu) << int{bits};
  }
}

TEST(TgaDecode, MapEntriesBeyondIndex255AreReadButNotKept) {
  TgaLayout layout;
  layout.imageType = 1;
  layout.depth = 8;
  layout.mapFirst = 250;
  layout.mapEntrySize = 24;
  for (uint32_t i = 0; i < 10; ++i) layout.colourMap.push_back(0x010101u * (i + 1));
  TgaImage image;
  ASSERT_EQ(decodeBytes(writeTga(layout, 2, 1, {255, 250}), image), 0);
  EXPECT_EQ(allPixels(image), (std::vector<uint32_t>{0xFF060606u, 0xFF010101u}));
}

std::vector<uint8_t> header(uint8_t mapType, uint8_t type, uint8_t entryBits, uint16_t w, uint16_t h, uint8_t depth) {
  std::vector<uint8_t> b(18, 0);
  b[1] = mapType;
  b[2] = type;
  b[7] = entryBits;
  b[12] = static_cast<uint8_t>(w);
  b[13] = static_cast<uint8_t>(w >> 8);
  b[14] = static_cast<uint8_t>(h);
  b[15] = static_cast<uint8_t>(h >> 8);
  b[16] = depth;
  return b;
}

TEST(TgaDecode, HeadersItCannotReadAreRefused) {
  struct Case {
    std::vector<uint8_t> bytes;
    TgaProblem problem;
  };
  const std::vector<Case> cases = {
      {{}, TgaProblem::ShortHeader},
      {std::vector<uint8_t>(17, 0), TgaProblem::ShortHeader},
      {header(0, 3, 0, 1, 1, 8), TgaProblem::UnsupportedType},
      {header(0, 11, 0, 1, 1, 16), TgaProblem::UnsupportedType},
      {header(0, 2, 0, 1, 1, 12), TgaProblem::UnsupportedDepth},
      {header(1, 1, 24, 1, 1, 16), TgaProblem::ColourMapDepth},
      {header(1, 1, 8, 1, 1, 8), TgaProblem::ColourMapEntrySize},
      {header(0, 1, 0, 1, 1, 8), TgaProblem::MissingColourMap},
      {header(0, 2, 0, 1, 1, 8), TgaProblem::MissingColourMap},
      {header(0, 2, 0, 0, 5, 32), TgaProblem::ZeroSize},
      {header(0, 2, 0, 5, 0, 32), TgaProblem::ZeroSize},
  };
  for (const Case& c : cases) {
    TgaImage image;
    TgaProblem problem{};
    EXPECT_EQ(decodeBytes(c.bytes, image, &problem), 1);
    EXPECT_EQ(problem, c.problem) << describeTgaProblem(c.problem);
    EXPECT_EQ(image.pixels, nullptr);
  }
}

TEST(TgaDecode, FilesShorterThanTheirHeaderPromisesAreRefused) {
  TgaLayout layout;
  layout.imageType = 1;
  layout.depth = 8;
  layout.id = "an ID field";
  layout.colourMap = {1, 2, 3, 4};
  const auto full = writeTga(layout, 4, 4, std::vector<uint32_t>(16, 1));
  TgaImage image;
  ASSERT_EQ(decodeBytes(full, image), 0);
  const size_t idEnd = 18 + layout.id.size(), mapEnd = idEnd + 4 * 3;
  for (size_t size = 18; size < full.size(); ++size) {
    TgaProblem problem{};
    EXPECT_EQ(decodeBytes({full.begin(), full.begin() + static_cast<std::ptrdiff_t>(size)}, image, &problem), 1);
    const TgaProblem expected = size < idEnd    ? TgaProblem::ShortIdField
                                : size < mapEnd ? TgaProblem::ShortColourMap
                                                : TgaProblem::ShortPixelData;
    EXPECT_EQ(problem, expected) << "size " << size;
  }
}

TEST(TgaDecode, RunLengthDataEndingInsideAPacketIsRefused) {
  TgaLayout layout;
  layout.imageType = 10;
  // Raw content (no runs) makes the packets much longer than the minimum the size check allows.
  const auto full = writeTga(layout, 8, 8, testPicture(8, 8));
  for (size_t cut = 1; cut < 200; cut += 7) {
    TgaImage image;
    TgaProblem problem{};
    EXPECT_EQ(decodeBytes({full.begin(), full.end() - static_cast<std::ptrdiff_t>(cut)}, image, &problem), 1);
    EXPECT_TRUE(problem == TgaProblem::ShortPacket || problem == TgaProblem::ShortPixelData);
    EXPECT_EQ(image.pixels, nullptr);
  }
}

TEST(TgaDecode, HugeDeclaredSizesAreRefusedBeforeAllocating) {
  // 65535 x 65535 32-bit pixels would need 16 GiB; a sanitizer build would abort on the attempt.
  for (uint8_t type : {2, 10}) {
    auto bytes = header(0, type, 0, 65535, 65535, 32);
    bytes.resize(bytes.size() + 4096, 0xFF);
    TgaImage image;
    TgaProblem problem{};
    EXPECT_EQ(decodeBytes(bytes, image, &problem), 1);
    EXPECT_EQ(problem, TgaProblem::ShortPixelData);
  }
}

TEST(TgaDecode, FileOnDiskIsReadThroughTheReader) {
  test::TempDir dir;
  TgaLayout layout;
  const auto picture = testPicture();
  const auto bytes = writeTga(layout, 5, 3, picture);
  test::writeFile(dir / "x.TGA", {bytes.begin(), bytes.end()});
  TgaImage image;
  ASSERT_EQ(decodeImageFile(image, (dir / "x.TGA").c_str()), 0);
  EXPECT_EQ(image.width, 5u);
  EXPECT_EQ(image.height, 3u);
  EXPECT_EQ(allPixels(image), picture);
}

}  // namespace
}  // namespace demo
