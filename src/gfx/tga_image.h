#pragma once
// TGA decoding into 32-bit pixels (bytes blue, green, red, alpha; top row first), read through a
// Reader: image types 1, 2, 9 and 10, pixel depths 8 (colour-mapped), 15, 16, 24 and 32, both row
// orders and right-to-left rows.
//
// Loader contract: archive/loader_contract.h.

#include <cstdint>
#include <memory>

namespace demo {

class Reader;

struct TgaImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::unique_ptr<uint8_t[]> pixels;  // width * height * 4 bytes, rows top to bottom
};

// Why a file was refused; decodeImageFile reports all of these as 1 (unsupported).
enum class TgaProblem {
  None,
  BadName,              // not a ".tga" name
  OpenFailed,           // the Reader could not open the file (its status is returned)
  ShortHeader,          // fewer than 18 bytes
  UnsupportedType,      // image type other than 1, 2, 9, 10
  UnsupportedDepth,     // pixel depth other than 8, 15, 16, 24, 32
  ColourMapDepth,       // a colour map with pixels that are not 8-bit indices
  ColourMapEntrySize,   // map entries other than 15, 16, 24 or 32 bits
  MissingColourMap,     // colour-mapped pixels without a colour map
  ZeroSize,             // width or height 0
  TooLarge,             // width or height above LoaderCaps::imageSide
  ShortIdField,         // the file ends inside the ID field
  ShortColourMap,       // ... inside the colour map
  ShortPixelData,       // ... before the pixel data the header promises (checked before allocating)
  ShortPacket,          // ... inside a run-length packet
};

const char* describeTgaProblem(TgaProblem problem);

// True for names of at least 4 characters whose text from the last "." on is ".tga" in any case.
bool isTgaName(const char* name);

// Checks the name, opens the file through a Reader and decodes it: 0, 1 for an unsupported or
// malformed file, or the Reader's status when the file cannot be opened.
int decodeImageFile(TgaImage& image, const char* fileName, TgaProblem* problem = nullptr);

// Decodes the bytes a Reader holds, from its current position: 0 or 1.
int decodeTga(TgaImage& image, Reader& reader, TgaProblem* problem = nullptr);

}  // namespace demo
