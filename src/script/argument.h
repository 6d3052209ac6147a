#pragma once
// Argument words (what each argument may be) and the argument record the parser hands to a command's
// constructor. A word is a set of kind bits; when several are set, the parser tries the kinds in a
// fixed order and the first that succeeds supplies the value.

#include <cstdint>

#include "script/registries.h"

namespace demo {

namespace arg {
constexpr uint32_t RelativeMask = 0x1F;  // k (1-20): a value written "+v" is argument k + v
constexpr uint32_t Unsigned = 0x40;
constexpr uint32_t Signed = 0x80;
constexpr uint32_t String = 0x100;
constexpr uint32_t Time = 0x200;
constexpr uint32_t Speed = 0x400;  // "@" and a float
constexpr uint32_t ImageName = 0x800;
constexpr uint32_t MusicName = 0x1000;
constexpr uint32_t TextureName = 0x2000;
constexpr uint32_t SceneName = 0x4000;
constexpr uint32_t EffectName = 0x8000;
constexpr uint32_t Declare = 0x10000;  // with a name kind: a new name is entered, not an error
constexpr uint32_t Float = 0x20000;
constexpr uint32_t BlendMode = 0x40000;
}  // namespace arg

inline constexpr int MaxArguments = 20;

// One parsed argument. kind is the single bit of the kind that supplied the value; the field that
// kind fills holds it.
struct Argument {
  uint32_t kind = 0;
  int32_t integer = 0;          // signed, unsigned (same bits), time in ms, blend mode
  float real = 0.0f;            // float, speed
  const char* text = nullptr;   // string: points into the line buffer until the constructor copies it
  ImageEntry* image = nullptr;
  MusicEntry* music = nullptr;
  TextureEntry* texture = nullptr;
  SceneEntry* scene = nullptr;
  EffectEntry* effect = nullptr;
};

struct ArgumentRecord {
  Argument slots[MaxArguments];
  int count = 0;
  const Argument& operator[](int index) const { return slots[index]; }
};

}  // namespace demo
