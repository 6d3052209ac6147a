#pragma once
// A picture being painted by the show's texture generators: 0xAARRGGBB pixels, top row first, and
// the few colour and noise helpers the painters share. Everything is a pure function of its inputs,
// so every build writes the same bytes.

#include <cstdint>
#include <filesystem>
#include <vector>

namespace demo::show {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;  // 0..1, clamped when stored
};

Rgba mix(const Rgba& x, const Rgba& y, float t);
Rgba scaled(const Rgba& c, float k);  // colour channels only
// A colour from a palette of stops spread evenly over 0..1; t wraps around.
Rgba palette(const std::vector<Rgba>& stops, float t);

class Canvas {
 public:
  // Opaque black, or fully transparent for pictures drawn with alpha.
  Canvas(int width, int height, bool transparent = false);
  int width() const { return width_; }
  int height() const { return height_; }
  void set(int x, int y, const Rgba& c);
  Rgba get(int x, int y) const;
  // Draws c over the pixel with c.a as coverage (alpha accumulates like paint on glass).
  void blend(int x, int y, const Rgba& c);
  // Writes an uncompressed 32-bit TGA; throws std::runtime_error when it cannot.
  void save(const std::filesystem::path& path) const;

 private:
  int width_, height_;
  std::vector<uint32_t> pixels_;
};

// Smooth value noise over a lattice that repeats every `period` cells, so textures tile.
float valueNoise(float x, float y, int period, uint32_t seed);
// Sum of `octaves` noise layers, each twice as fine and half as strong; about 0..1.
float fractalNoise(float x, float y, int period, int octaves, uint32_t seed);

}  // namespace demo::show
