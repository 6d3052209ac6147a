#include "loader_fixtures.h"

#include "writers/tga_writer.h"

namespace demo::test {

namespace {

// A small picture with runs (so run-length packets of both kinds appear) and distinct pixels.
std::vector<uint32_t> picture(uint16_t width, uint16_t height, uint32_t (*value)(uint32_t x, uint32_t y)) {
  std::vector<uint32_t> out;
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) out.push_back(value(x, y));
  return out;
}

uint32_t colour(uint32_t x, uint32_t y) { return x < 3 ? 0x80FF2000u : 0xFF000000u | ((x * 0x1F0307u) ^ (y * 0x030B1Du)); }
uint32_t word16(uint32_t x, uint32_t y) { return x < 3 ? 0x7C1Fu : (x * 0x0421u + y * 0x1234u) & 0xFFFFu; }
uint32_t index8(uint32_t x, uint32_t y) { return x < 3 ? 1u : (x + 2 * y) % 6u; }
uint32_t index100(uint32_t x, uint32_t y) { return 100 + index8(x, y); }  // a map starting at entry 100

}  // namespace

std::vector<Fixture> tgaFixtures() {
  std::vector<Fixture> out;
  const auto add = [&](const std::string& name, const TgaLayout& layout, uint16_t w, uint16_t h,
                       uint32_t (*value)(uint32_t, uint32_t)) {
    out.push_back({name, writeTga(layout, w, h, picture(w, h, value))});
  };
  TgaLayout layout;
  for (uint8_t depth : {15, 16, 24, 32}) {
    layout.depth = depth;
    const auto value = depth < 24 ? word16 : colour;
    const std::string bits = std::to_string(depth);
    layout.imageType = 2;
    layout.topToBottom = depth != 24;
    add("truecolour_" + bits + ".tga", layout, 7, 5, value);
    layout.imageType = 10;
    layout.rightToLeft = depth == 32;
    layout.packetsCrossRows = depth >= 24;
    add("runlength_" + bits + ".tga", layout, 7, 5, value);
    layout.rightToLeft = false;
    layout.packetsCrossRows = false;
  }
  layout = TgaLayout{};
  layout.depth = 8;
  layout.id = "ID field";
  layout.colourMap = {0xFF000000u, 0xFFFFFFFFu, 0xFF808080u, 0x80FF0000u, 0xFF00FF00u, 0xFF0000FFu};
  for (uint8_t entry : {15, 16, 24, 32}) {
    layout.mapEntrySize = entry;
    layout.mapFirst = entry == 32 ? 100 : 0;
    const std::string bits = std::to_string(entry);
    layout.imageType = 1;
    const auto value = entry == 32 ? index100 : index8;
    add("mapped_" + bits + ".tga", layout, 6, 4, value);
    layout.imageType = 9;
    layout.packetsCrossRows = entry == 24;
    add("mapped_runlength_" + bits + ".tga", layout, 6, 4, value);
    layout.packetsCrossRows = false;
  }
  return out;
}

}  // namespace demo::test
