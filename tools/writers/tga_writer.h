#pragma once
// Writes TGA files of every kind the engine reads, for tests and generated assets: image types 1,
// 2, 9 and 10; depths 8 (colour-mapped), 15, 16, 24 and 32; either row order; right-to-left rows;
// run-length packets that may or may not cross row ends.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace demo {

struct TgaLayout {
  uint8_t imageType = 2;  // 1 colour-mapped, 2 true-colour, 9 and 10 their run-length forms
  uint8_t depth = 32;     // 8 for colour-mapped images
  bool topToBottom = true;
  bool rightToLeft = false;
  bool packetsCrossRows = false;  // run-length packets may continue into the next row
  std::string id;                 // the image ID field
  // Colour map (types 1 and 9), entries as 0xAARRGGBB stored with mapEntrySize bits from mapFirst.
  std::vector<uint32_t> colourMap;
  uint16_t mapFirst = 0;
  uint8_t mapEntrySize = 24;
  // Bytes written as the pixel data as they are, instead of encoding the pixels: packets that run
  // past the image, data cut short, depths no encoder writes.
  std::optional<std::vector<uint8_t>> pixelData;
};

// `pixels` holds width * height stored values in picture order (top row first, left to right):
// 0xAARRGGBB for depths 24 and 32, the raw 16-bit word for 15 and 16, the map index for 8. With
// layout.pixelData it is not used.
std::vector<uint8_t> writeTga(const TgaLayout& layout, uint16_t width, uint16_t height,
                              const std::vector<uint32_t>& pixels);

// The 16-bit TGA word of a colour: 5 bits per channel by truncation, top bit set.
uint16_t tgaWord16(uint32_t argb);

}  // namespace demo
