#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "writers/tga_writer.h"

namespace demo::show {
namespace {

uint8_t toByte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

uint32_t hash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

float lattice(int x, int y, int period, uint32_t seed) {
  const int px = ((x % period) + period) % period, py = ((y % period) + period) % period;
  return static_cast<float>(hash(px, py, seed) & 0xFFFF) / 65535.0f;
}

float smooth(float t) { return t * t * (3 - 2 * t); }

}  // namespace

Rgba mix(const Rgba& x, const Rgba& y, float t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

Rgba scaled(const Rgba& c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

Rgba palette(const std::vector<Rgba>& stops, float t) {
  const float wrapped = t - std::floor(t);
  const float at = wrapped * static_cast<float>(stops.size());
  const size_t i = static_cast<size_t>(at) % stops.size();
  return mix(stops[i], stops[(i + 1) % stops.size()], smooth(at - std::floor(at)));
}

Canvas::Canvas(int width, int height, bool transparent)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, transparent ? 0u : 0xFF000000u) {}

void Canvas::set(int x, int y, const Rgba& c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = uint32_t{toByte(c.a)} << 24 | uint32_t{toByte(c.r)} << 16 |
                                                 uint32_t{toByte(c.g)} << 8 | toByte(c.b);
}

Rgba Canvas::get(int x, int y) const {
  const uint32_t p =
      pixels_[static_cast<size_t>(std::clamp(y, 0, height_ - 1)) * width_ + std::clamp(x, 0, width_ - 1)];
  return {static_cast<float>(p >> 16 & 255) / 255.0f, static_cast<float>(p >> 8 & 255) / 255.0f,
          static_cast<float>(p & 255) / 255.0f, static_cast<float>(p >> 24) / 255.0f};
}

void Canvas::blend(int x, int y, const Rgba& c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const Rgba under = get(x, y);
  // "Over" with straight alpha: a transparent canvas takes the paint's own colour, not black.
  const float a = c.a + under.a * (1 - c.a);
  if (a <= 0) return;
  const float keep = under.a * (1 - c.a);
  set(x, y, {(c.r * c.a + under.r * keep) / a, (c.g * c.a + under.g * keep) / a, (c.b * c.a + under.b * keep) / a, a});
}

void Canvas::save(const std::filesystem::path& path) const {
  const std::vector<uint8_t> bytes =
      writeTga(TgaLayout{}, static_cast<uint16_t>(width_), static_cast<uint16_t>(height_), pixels_);
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

float valueNoise(float x, float y, int period, uint32_t seed) {
  const float fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const float tx = smooth(x - fx), ty = smooth(y - fy);
  const float top =
      lattice(ix, iy, period, seed) + (lattice(ix + 1, iy, period, seed) - lattice(ix, iy, period, seed)) * tx;
  const float bottom = lattice(ix, iy + 1, period, seed) +
                       (lattice(ix + 1, iy + 1, period, seed) - lattice(ix, iy + 1, period, seed)) * tx;
  return top + (bottom - top) * ty;
}

float fractalNoise(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0, weight = 0.5f, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += valueNoise(x, y, period, seed + static_cast<uint32_t>(o)) * weight;
    norm += weight;
    x *= 2;
    y *= 2;
    period *= 2;
    weight *= 0.5f;
  }
  return sum / norm;
}

}  // namespace demo::show
