#include "writers/tga_writer.h"

#include <stdexcept>

namespace demo {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void putValue(std::vector<uint8_t>& out, uint32_t value, uint32_t depth) {
  switch (depth) {
    case 8: out.push_back(static_cast<uint8_t>(value)); break;
    case 15:
    case 16: put16(out, value); break;
    case 24:
    case 32:
      for (uint32_t i = 0; i < depth / 8; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
      break;
    default: throw std::invalid_argument("TGA depth must be 8, 15, 16, 24 or 32");
  }
}

void putMapEntry(std::vector<uint8_t>& out, uint32_t argb, uint32_t bits) {
  putValue(out, bits == 15 || bits == 16 ? tgaWord16(argb) : argb, bits);
}

// The stored pixel sequence: rows in file order, each in stored direction.
std::vector<uint32_t> storedOrder(const TgaLayout& layout, uint16_t width, uint16_t height,
                                  const std::vector<uint32_t>& pixels) {
  std::vector<uint32_t> out;
  out.reserve(pixels.size());
  for (uint32_t r = 0; r < height; ++r) {
    const uint32_t y = layout.topToBottom ? r : height - 1u - r;
    for (uint32_t c = 0; c < width; ++c) {
      const uint32_t x = layout.rightToLeft ? width - 1u - c : c;
      out.push_back(pixels[size_t{y} * width + x]);
    }
  }
  return out;
}

// Greedy run-length packets over [begin, end): runs of 2 or more repeat, the rest go raw.
void putPackets(std::vector<uint8_t>& out, const std::vector<uint32_t>& values, size_t begin, size_t end,
                uint32_t depth) {
  size_t i = begin;
  while (i < end) {
    size_t run = 1;
    while (i + run < end && run < 128 && values[i + run] == values[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
      putValue(out, values[i], depth);
      i += run;
      continue;
    }
    size_t raw = 1;
    while (i + raw < end && raw < 128 && !(i + raw + 1 < end && values[i + raw] == values[i + raw + 1])) ++raw;
    out.push_back(static_cast<uint8_t>(raw - 1));
    for (size_t k = 0; k < raw; ++k) putValue(out, values[i + k], depth);
    i += raw;
  }
}

}  // namespace

uint16_t tgaWord16(uint32_t argb) {
  const uint32_t r = (argb >> 19) & 31, g = (argb >> 11) & 31, b = (argb >> 3) & 31;
  return static_cast<uint16_t>(0x8000 | r << 10 | g << 5 | b);
}

std::vector<uint8_t> writeTga(const TgaLayout& layout, uint16_t width, uint16_t height,
                              const std::vector<uint32_t>& pixels) {
  if (!layout.pixelData && pixels.size() != size_t{width} * height)
    throw std::invalid_argument("TGA pixel count differs from the size");
  if (layout.id.size() > 255) throw std::invalid_argument("TGA ID field longer than 255 bytes");
  const bool mapped = !layout.colourMap.empty();
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(layout.id.size()));
  out.push_back(mapped ? 1 : 0);
  out.push_back(layout.imageType);
  put16(out, mapped ? layout.mapFirst : 0);
  put16(out, static_cast<uint32_t>(layout.colourMap.size()));
  out.push_back(mapped ? layout.mapEntrySize : 0);
  put16(out, 0);  // origin x
  put16(out, layout.topToBottom ? height : 0);  // origin y, as many writers store it
  put16(out, width);
  put16(out, height);
  out.push_back(layout.depth);
  const uint8_t alphaBits = layout.depth == 32 ? 8 : layout.depth == 16 ? 1 : 0;
  out.push_back(static_cast<uint8_t>(alphaBits | (layout.topToBottom ? 0x20 : 0) | (layout.rightToLeft ? 0x10 : 0)));
  out.insert(out.end(), layout.id.begin(), layout.id.end());
  for (uint32_t entry : layout.colourMap) putMapEntry(out, entry, layout.mapEntrySize);
  if (layout.pixelData) {
    out.insert(out.end(), layout.pixelData->begin(), layout.pixelData->end());
    return out;
  }

  const std::vector<uint32_t> stored = storedOrder(layout, width, height, pixels);
  const bool runLength = layout.imageType == 9 || layout.imageType == 10;
  if (!runLength) {
    for (uint32_t v : stored) putValue(out, v, layout.depth);
  } else if (layout.packetsCrossRows) {
    putPackets(out, stored, 0, stored.size(), layout.depth);
  } else {
    for (size_t row = 0; row < height; ++row) putPackets(out, stored, row * width, (row + 1) * width, layout.depth);
  }
  return out;
}

}  // namespace demo
