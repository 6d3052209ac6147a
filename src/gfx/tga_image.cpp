#include "gfx/tga_image.h"

#include <cstring>
#include <vector>

#include "archive/loader_contract.h"
#include "archive/reader.h"

namespace demo {

namespace {

constexpr uint32_t HeaderSize = 18;
constexpr uint32_t MapCapacity = 256;  // colour-map entries beyond index 255 are read but not kept
constexpr uint32_t MaxPacketPixels = 128;

struct TgaHeader {
  uint8_t idLength;
  uint8_t colourMapType;
  uint8_t imageType;
  uint16_t mapFirst;
  uint16_t mapLength;
  uint8_t mapEntrySize;
  uint16_t width;
  uint16_t height;
  uint8_t depth;
  uint8_t descriptor;

  bool runLength() const { return imageType == 9 || imageType == 10; }
  bool colourMapped() const { return imageType == 1 || imageType == 9; }
  bool hasMap() const { return colourMapType == 1; }
  bool topToBottom() const { return descriptor & 0x20; }
  bool rightToLeft() const { return descriptor & 0x10; }
};

uint16_t le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

TgaHeader parseHeader(const uint8_t (&raw)[HeaderSize]) {
  // Bytes 8..11 hold the origin, which placement does not use.
  return {raw[0], raw[1], raw[2], le16(raw + 3), le16(raw + 5), raw[7], le16(raw + 12), le16(raw + 14),
          raw[16], raw[17]};
}

bool knownEntrySize(uint8_t bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

TgaProblem validate(const TgaHeader& h) {
  if (h.imageType != 1 && h.imageType != 2 && h.imageType != 9 && h.imageType != 10)
    return TgaProblem::UnsupportedType;
  if (h.depth != 8 && !knownEntrySize(h.depth)) return TgaProblem::UnsupportedDepth;
  if (h.hasMap() && h.depth != 8) return TgaProblem::ColourMapDepth;
  if (h.hasMap() && !knownEntrySize(h.mapEntrySize)) return TgaProblem::ColourMapEntrySize;
  // Indices into a map the file does not carry would all decode to transparent black.
  if (!h.hasMap() && (h.depth == 8 || h.colourMapped())) return TgaProblem::MissingColourMap;
  if (h.width == 0 || h.height == 0) return TgaProblem::ZeroSize;
  return TgaProblem::None;
}

// 5-bit channel to 8 bits, rounding down.
uint32_t expand5(uint32_t c) { return c * 255 / 31; }

// One stored pixel or map entry of 15, 16, 24 or 32 bits as a 0xAARRGGBB word.
uint32_t directColour(const uint8_t* p, uint32_t depth) {
  switch (depth) {
    case 15:
    case 16: {
      const uint32_t w = le16(p);  // the top bit is ignored: 16-bit pixels are opaque
      return 0xFF000000u | expand5((w >> 10) & 31) << 16 | expand5((w >> 5) & 31) << 8 | expand5(w & 31);
    }
    case 24: return 0xFF000000u | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
    default: return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
  }
}

struct PixelFormat {
  uint32_t depth;
  uint32_t bytes;      // (depth + 7) / 8: 15-bit pixels take two bytes
  const uint32_t* map;  // 256 entries, for depth 8
};

void convertPixels(const uint8_t* src, uint32_t count, const PixelFormat& format, uint32_t* out) {
  if (format.depth == 8) {
    for (uint32_t i = 0; i < count; ++i) out[i] = format.map[src[i]];
    return;
  }
  for (uint32_t i = 0; i < count; ++i, src += format.bytes) out[i] = directColour(src, format.depth);
}

void storeWord(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// Lays stored pixels out in picture order: the first stored row at the top or the bottom, each row
// left to right or right to left. A run that passes the end of a row goes on in the next row, as
// the TGA format intends; whatever passes the last row is dropped, so nothing lands outside.
class PixelSink {
 public:
  PixelSink(TgaImage& image, bool topToBottom, bool rightToLeft)
      : image_(image), topToBottom_(topToBottom), rightToLeft_(rightToLeft) {
    startRow();
  }
  bool done() const { return row_ >= image_.height; }

  void put(uint32_t bgra) {
    if (done()) return;
    storeWord(cursor_, bgra);
    cursor_ += step_;
    if (--leftInRow_ == 0) {
      ++row_;
      if (!done()) startRow();
    }
  }
  void putRun(uint32_t bgra, uint32_t count) {
    for (uint32_t i = 0; i < count && !done(); ++i) put(bgra);
  }
  void putAll(const uint32_t* words, uint32_t count) {
    for (uint32_t i = 0; i < count && !done(); ++i) put(words[i]);
  }

 private:
  void startRow() {
    const uint32_t y = topToBottom_ ? row_ : image_.height - 1 - row_;
    const size_t rowBytes = static_cast<size_t>(image_.width) * 4;
    uint8_t* rowStart = image_.pixels.get() + y * rowBytes;
    cursor_ = rightToLeft_ ? rowStart + rowBytes - 4 : rowStart;
    step_ = rightToLeft_ ? -4 : 4;
    leftInRow_ = image_.width;
  }

  TgaImage& image_;
  bool topToBottom_, rightToLeft_;
  uint32_t row_ = 0;
  uint32_t leftInRow_ = 0;
  uint8_t* cursor_ = nullptr;
  std::ptrdiff_t step_ = 4;
};

int fail(TgaProblem* out, TgaProblem problem) {
  if (out) *out = problem;
  return 1;
}

bool readColourMap(Reader& reader, const TgaHeader& h, uint32_t (&map)[MapCapacity]) {
  const uint32_t entryBytes = (h.mapEntrySize + 7u) / 8u;
  uint8_t entry[4];
  for (uint32_t i = 0; i < h.mapLength; ++i) {
    if (reader.read(entry, entryBytes) != ReadOk) return false;
    const uint32_t index = uint32_t{h.mapFirst} + i;
    if (index < MapCapacity) map[index] = directColour(entry, h.mapEntrySize);
  }
  return true;
}

// The fewest bytes pixel data of this size can take: raw rows, or run packets of 128 pixels.
uint64_t minimumPixelBytes(const TgaHeader& h, uint32_t bytesPerPixel) {
  const uint64_t pixels = uint64_t{h.width} * h.height;
  if (!h.runLength()) return pixels * bytesPerPixel;
  return (pixels + MaxPacketPixels - 1) / MaxPacketPixels * (1 + bytesPerPixel);
}

bool decodeRaw(Reader& reader, const TgaHeader& h, const PixelFormat& format, PixelSink& sink) {
  std::vector<uint8_t> stored(static_cast<size_t>(h.width) * format.bytes);
  std::vector<uint32_t> words(h.width);
  for (uint32_t row = 0; row < h.height; ++row) {
    if (reader.read(stored.data(), static_cast<uint32_t>(stored.size())) != ReadOk) return false;
    convertPixels(stored.data(), h.width, format, words.data());
    sink.putAll(words.data(), h.width);
  }
  return true;
}

bool decodeRunLength(Reader& reader, const PixelFormat& format, PixelSink& sink) {
  uint8_t stored[MaxPacketPixels * 4];
  uint32_t words[MaxPacketPixels];
  while (!sink.done()) {
    uint8_t packet;
    if (reader.read(&packet, 1) != ReadOk) return false;
    const uint32_t count = (packet & 0x7Fu) + 1;
    const bool repeat = packet & 0x80;
    const uint32_t storedPixels = repeat ? 1 : count;
    if (reader.read(stored, storedPixels * format.bytes) != ReadOk) return false;
    convertPixels(stored, storedPixels, format, words);
    if (repeat)
      sink.putRun(words[0], count);
    else
      sink.putAll(words, count);
  }
  return true;
}

}  // namespace

const char* describeTgaProblem(TgaProblem problem) {
  switch (problem) {
    case TgaProblem::None: return "no problem";
    case TgaProblem::BadName: return "not a .tga file name";
    case TgaProblem::OpenFailed: return "cannot open the file";
    case TgaProblem::ShortHeader: return "file shorter than the 18-byte header";
    case TgaProblem::UnsupportedType: return "unsupported image type (only 1, 2, 9 and 10 are read)";
    case TgaProblem::UnsupportedDepth: return "unsupported pixel depth (only 8, 15, 16, 24 and 32 are read)";
    case TgaProblem::ColourMapDepth: return "colour map with pixels that are not 8-bit indices";
    case TgaProblem::ColourMapEntrySize: return "colour-map entry size other than 15, 16, 24 or 32 bits";
    case TgaProblem::MissingColourMap: return "colour-mapped pixels without a colour map";
    case TgaProblem::ZeroSize: return "width or height is 0";
    case TgaProblem::TooLarge: return "width or height above the 16384 pixels a texture may have";
    case TgaProblem::ShortIdField: return "file ends inside the image ID field";
    case TgaProblem::ShortColourMap: return "file ends inside the colour map";
    case TgaProblem::ShortPixelData: return "file shorter than the pixel data its header promises";
    case TgaProblem::ShortPacket: return "file ends inside a run-length packet";
  }
  return "unknown problem";
}

bool isTgaName(const char* name) {
  const size_t length = std::strlen(name);
  if (length < 4) return false;
  const char* dot = std::strrchr(name, '.');
  if (!dot || std::strlen(dot) != 4) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return lower(dot[1]) == 't' && lower(dot[2]) == 'g' && lower(dot[3]) == 'a';
}

int decodeImageFile(TgaImage& image, const char* fileName, TgaProblem* problem) {
  if (!isTgaName(fileName)) return fail(problem, TgaProblem::BadName);
  Reader reader;
  const int status = reader.open(fileName);
  if (status != ReadOk) {
    if (problem) *problem = TgaProblem::OpenFailed;
    return status;
  }
  return decodeTga(image, reader, problem);
}

int decodeTga(TgaImage& image, Reader& reader, TgaProblem* problem) {
  uint8_t raw[HeaderSize];
  if (reader.read(raw, HeaderSize) != ReadOk) return fail(problem, TgaProblem::ShortHeader);
  const TgaHeader h = parseHeader(raw);
  if (const TgaProblem p = validate(h); p != TgaProblem::None) return fail(problem, p);
  if (reader.seek(h.idLength, SeekCurrent) < 0) return fail(problem, TgaProblem::ShortIdField);

  uint32_t map[MapCapacity] = {};
  if (h.hasMap() && !readColourMap(reader, h, map)) return fail(problem, TgaProblem::ShortColourMap);

  const PixelFormat format{h.depth, (h.depth + 7u) / 8u, map};
  // Refuse before allocating: a header may declare up to 65535 x 65535 pixels (16 GiB).
  if (minimumPixelBytes(h, format.bytes) > reader.remaining()) return fail(problem, TgaProblem::ShortPixelData);
  // That bounds raw pictures by the file, but run-length packets of 128 pixels let a 168 MB file
  // declare 65535 x 65535 (16 GiB of pixels): the side cap bounds those.
  if (h.width > LoaderCaps::imageSide || h.height > LoaderCaps::imageSide) return fail(problem, TgaProblem::TooLarge);

  image.width = h.width;
  image.height = h.height;
  image.pixels = std::make_unique<uint8_t[]>(size_t{h.width} * h.height * 4);
  PixelSink sink(image, h.topToBottom(), h.rightToLeft());
  const bool complete = h.runLength() ? decodeRunLength(reader, format, sink) : decodeRaw(reader, h, format, sink);
  if (!complete) {
    image = TgaImage{};
    return fail(problem, h.runLength() ? TgaProblem::ShortPacket : TgaProblem::ShortPixelData);
  }
  if (problem) *problem = TgaProblem::None;
  return 0;
}

}  // namespace demo
