// Material entries: name, three colours, three percentages and three map file names.

#include <algorithm>

#include "scene/scene_reader_steps.h"

namespace demo {

namespace {

constexpr uint16_t NameChunk = 0xA000;
constexpr uint16_t AmbientChunk = 0xA010, DiffuseChunk = 0xA020, SpecularChunk = 0xA030;
constexpr uint16_t ShininessChunk = 0xA040, TransparencyChunk = 0xA050, SelfIlluminationChunk = 0xA084;
constexpr uint16_t TextureMapChunk = 0xA200, OpacityMapChunk = 0xA210, ReflectionMapChunk = 0xA220;
constexpr uint16_t MapNameChunk = 0xA300;
constexpr uint16_t ColourFloatChunk = 0x0010, ColourBytesChunk = 0x0011;
constexpr uint16_t PercentWordChunk = 0x0030, PercentFloatChunk = 0x0031;

constexpr double ByteToUnit = 0.003921569;  // 1 / 255, as the colours of byte chunks are scaled
constexpr double PercentToUnit = 0.01;

// 0x0010 gives three floats, 0x0011 three bytes; other forms (gamma-corrected ones) are skipped. The
// last one read wins.
bool readColour(ChunkReader& in, uint32_t end, float (&colour)[3]) {
  return in.walk(end, [&](uint16_t id, uint32_t) {
    if (id == ColourFloatChunk) return in.f32(colour[0]) && in.f32(colour[1]) && in.f32(colour[2]);
    if (id != ColourBytesChunk) return true;
    uint8_t rgb[3];
    if (!in.bytes(rgb, 3)) return false;
    for (int i = 0; i < 3; ++i) colour[i] = static_cast<float>(rgb[i] * ByteToUnit);
    return true;
  });
}

// 0x0030 gives a uint16, 0x0031 a float, either a percentage; any other sub-chunk fails the load.
// The fraction is clamped to 0..1: a negative transparency would make an alpha above 1, a large
// one a negative alpha.
bool readPercentage(ChunkReader& in, uint32_t end, float& fraction) {
  return in.walk(end, [&](uint16_t id, uint32_t) {
    double percent;
    if (id == PercentWordChunk) {
      uint16_t word;
      if (!in.u16(word)) return false;
      percent = word;
    } else if (id == PercentFloatChunk) {
      float value;
      if (!in.f32(value)) return false;
      percent = value;
    } else {  // the reason names the chunk being read: this one
      return in.fail("a percentage must be chunk 0x0030 or 0x0031");
    }
    fraction = std::clamp(static_cast<float>(percent * PercentToUnit), 0.0f, 1.0f);
    return true;
  });
}

// Only the file name of a map is read; its percentage and parameters are skipped.
bool readMapName(ChunkReader& in, uint32_t end, Name16& name) {
  return in.walk(end, [&](uint16_t id, uint32_t) { return id != MapNameChunk || in.name(name.data(), 16); });
}

}  // namespace

bool readMaterial(ChunkReader& in, uint32_t end, RawMaterial& material) {
  return in.walk(end, [&](uint16_t id, uint32_t chunkEnd) {
    switch (id) {
      case NameChunk: return in.name(material.name.data(), 32);
      case AmbientChunk: return readColour(in, chunkEnd, material.ambient);
      case DiffuseChunk: return readColour(in, chunkEnd, material.diffuse);
      case SpecularChunk: return readColour(in, chunkEnd, material.specular);
      case ShininessChunk: return readPercentage(in, chunkEnd, material.shininess);
      case TransparencyChunk: return readPercentage(in, chunkEnd, material.transparency);
      case SelfIlluminationChunk: return readPercentage(in, chunkEnd, material.selfIllumination);
      case TextureMapChunk: return readMapName(in, chunkEnd, material.textureName);
      case OpacityMapChunk: return readMapName(in, chunkEnd, material.opacityName);
      case ReflectionMapChunk: return readMapName(in, chunkEnd, material.reflectionName);
      default: return true;
    }
  });
}

}  // namespace demo
