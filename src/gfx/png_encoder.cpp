#include "gfx/png_encoder.h"

#include <zlib.h>

#include <cstring>

namespace demo {
namespace {

void putWord32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Length, type, data, and the CRC of type and data.
void putChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  putWord32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  putWord32(out, static_cast<uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(4 + data.size()))));
}

// Each row: the filter byte 1 (SUB), then every byte less the byte one pixel to its left.
std::vector<uint8_t> filterRows(const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride,
                                int channels) {
  const size_t rowBytes = size_t{width} * channels;
  std::vector<uint8_t> rows((rowBytes + 1) * height);
  uint8_t* out = rows.data();
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels + size_t{y} * stride;
    *out++ = 1;
    for (size_t i = 0; i < rowBytes; ++i)
      *out++ = static_cast<uint8_t>(row[i] - (i >= size_t(channels) ? row[i - channels] : 0));
  }
  return rows;
}

}  // namespace

bool encodePng(const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride, int channels,
               std::vector<uint8_t>& png) {
  if (width == 0 || height == 0 || (channels != 3 && channels != 4) || stride < width * uint32_t(channels))
    return false;
  const std::vector<uint8_t> rows = filterRows(pixels, width, height, stride, channels);
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 1) != Z_OK) return false;
  packed.resize(packedSize);

  std::vector<uint8_t> header;
  putWord32(header, width);
  putWord32(header, height);
  // 8 bits per channel, colour type 2 (RGB) or 6 (RGBA), deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});

  static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  png.assign(signature, signature + 8);
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", packed);
  putChunk(png, "IEND", {});
  return true;
}

}  // namespace demo
