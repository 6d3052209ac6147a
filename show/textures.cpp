#include "textures.h"

#include <algorithm>
#include <cmath>

#include "bitmap_font.h"

namespace demo::show {
namespace {

constexpr float Pi = 3.14159265f;

float fx(int v) { return static_cast<float>(v); }

// Cheap deterministic scatter for stars.
uint32_t scatter(uint32_t i) {
  i = (i ^ 61u) ^ (i >> 16);
  i *= 9u;
  i ^= i >> 4;
  i *= 0x27d4eb2du;
  return i ^ (i >> 15);
}

}  // namespace

Canvas paintSky() {
  Canvas c(512, 512);
  const std::vector<Rgba> stops = {{0.02f, 0.02f, 0.10f}, {0.10f, 0.05f, 0.30f}, {0.55f, 0.12f, 0.45f},
                                   {0.95f, 0.45f, 0.25f}, {1.00f, 0.80f, 0.45f}};
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) {
      const float t = std::pow(fx(y) / 511.0f, 1.4f) * 0.999f * static_cast<float>(stops.size() - 1);
      const size_t i = static_cast<size_t>(t);
      Rgba sky = mix(stops[i], stops[i + 1], t - std::floor(t));
      // A low sun with a wide warm halo.
      const float dx = fx(x) - 256, dy = fx(y) - 430;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float sun = std::clamp((48 - r) / 3.0f, 0.0f, 1.0f);
      const float halo = std::exp(-r / 90.0f) * 0.6f;
      sky = mix(sky, {1.0f, 0.85f, 0.55f}, std::max(sun, halo));
      // Thin cloud bands lit from below.
      const float band = fractalNoise(fx(x) / 64.0f, fx(y) / 16.0f, 8, 4, 11);
      const float cloud =
          std::clamp((band - 0.55f) * 3.0f, 0.0f, 1.0f) * std::clamp((fx(y) - 180) / 200.0f, 0.0f, 1.0f);
      sky = mix(sky, {0.85f, 0.35f, 0.40f}, cloud * 0.7f);
      c.set(x, y, sky);
    }
  for (uint32_t i = 0; i < 260; ++i) {
    const int x = static_cast<int>(scatter(i * 2) % 512), y = static_cast<int>(scatter(i * 2 + 1) % 300);
    const float bright = 0.4f + fx(static_cast<int>(scatter(i + 999) % 60)) / 100.0f;
    const float fade = 1.0f - fx(y) / 300.0f;
    c.blend(x, y, {1, 1, 0.9f, bright * fade});
    if (i % 7 == 0)
      for (int d = -1; d <= 1; d += 2) {
        c.blend(x + d, y, {1, 1, 1, bright * fade * 0.4f});
        c.blend(x, y + d, {1, 1, 1, bright * fade * 0.4f});
      }
  }
  return c;
}

Canvas paintPlasma() {
  Canvas c(256, 256);
  const std::vector<Rgba> stops = {{0.05f, 0.0f, 0.25f}, {0.0f, 0.45f, 0.85f}, {0.2f, 0.95f, 0.75f},
                                   {1.0f, 0.9f, 0.3f},   {1.0f, 0.3f, 0.35f}, {0.55f, 0.05f, 0.55f}};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      // Whole periods across the picture so that it tiles.
      const float u = fx(x) / 256.0f * 2 * Pi, v = fx(y) / 256.0f * 2 * Pi;
      const float p = std::sin(u * 2) + std::sin(v * 3 + std::sin(u)) + std::sin((u + v) * 2) +
                      std::cos(std::sin(v * 2) * 2 + u * 3);
      c.set(x, y, palette(stops, p * 0.125f + 0.5f));
    }
  return c;
}

Canvas paintRings() {
  Canvas c(256, 256, true);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const float dx = fx(x) - 127.5f, dy = fx(y) - 127.5f;
      const float r = std::sqrt(dx * dx + dy * dy);
      const float wave = std::pow(0.5f + 0.5f * std::cos(r * 0.35f), 6.0f);
      const float edge = std::clamp((124 - r) / 16.0f, 0.0f, 1.0f);
      const float light = wave * edge;
      const Rgba tint = palette({{1.0f, 0.4f, 0.9f}, {0.4f, 0.8f, 1.0f}, {1.0f, 0.9f, 0.5f}}, r / 128.0f);
      // Colour premultiplied by the light: additive modes ignore alpha and must add nothing outside.
      c.set(x, y, {tint.r * light, tint.g * light, tint.b * light, light});
    }
  return c;
}

Canvas paintChecker() {
  Canvas c(256, 256);
  const Rgba dark{0.05f, 0.18f, 0.32f}, light{0.30f, 0.85f, 0.85f};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const int cx = x % 32, cy = y % 32;
      Rgba base = ((x / 32 + y / 32) % 2) ? light : dark;
      // A bevel: lit top-left edges, shaded bottom-right ones.
      if (cx < 3 || cy < 3) base = mix(base, {1, 1, 1}, 0.35f);
      if (cx > 28 || cy > 28) base = scaled(base, 0.6f);
      c.set(x, y, base);
    }
  return c;
}

Canvas paintClouds() {
  Canvas c(256, 256, true);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const float n = fractalNoise(fx(x) / 32.0f, fx(y) / 32.0f, 8, 5, 7);
      const float density = std::clamp((n - 0.35f) * 2.2f, 0.0f, 1.0f);
      const Rgba colour = mix({0.25f, 0.55f, 0.95f}, {0.95f, 0.95f, 1.0f}, density);
      c.set(x, y, {colour.r, colour.g, colour.b, density});
    }
  return c;
}

Canvas paintFlare() {
  Canvas c(256, 256, true);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const float dx = fx(x) - 127.5f, dy = fx(y) - 127.5f;
      const float r = std::sqrt(dx * dx + dy * dy) / 128.0f;
      const float angle = std::atan2(dy, dx);
      const float core = std::exp(-r * 9.0f);
      const float rays = std::pow(std::fabs(std::cos(angle * 4.0f)), 40.0f) * std::exp(-r * 3.0f) * 0.8f;
      const float halo = std::exp(-std::pow((r - 0.7f) * 14.0f, 2.0f)) * 0.35f;
      const float light = std::clamp(core + rays + halo, 0.0f, 1.0f) * std::clamp((1.0f - r) * 8.0f, 0.0f, 1.0f);
      const Rgba colour = mix({1.0f, 0.55f, 0.25f}, {1.0f, 0.98f, 0.9f}, std::clamp(core * 1.5f, 0.0f, 1.0f));
      c.set(x, y, {colour.r * light, colour.g * light, colour.b * light, light});  // premultiplied, as the rings
    }
  return c;
}

Canvas paintGrid() {
  Canvas c(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const int cx = x % 32, cy = y % 32;
      const float tile = fx((x / 32 * 5 + y / 32 * 3) % 8) / 8.0f;
      Rgba base = palette({{1.0f, 0.3f, 0.4f}, {1.0f, 0.8f, 0.3f}, {0.4f, 1.0f, 0.5f}, {0.4f, 0.6f, 1.0f}}, tile);
      base = scaled(base, 0.55f);
      const float ddx = fx(cx) - 15.5f, ddy = fx(cy) - 15.5f;
      if (ddx * ddx + ddy * ddy < 36) base = {1, 1, 1};  // a dot in every tile
      if (cx < 2 || cy < 2) base = {1, 1, 1};            // grid lines
      c.set(x, y, base);
    }
  return c;
}

Canvas paintBars() {
  Canvas c(256, 256);
  const Rgba colours[] = {{1.0f, 0.35f, 0.2f}, {0.3f, 0.9f, 0.4f}, {0.35f, 0.5f, 1.0f}, {1.0f, 0.85f, 0.3f}};
  for (int y = 0; y < 256; ++y) {
    // Four bars, each a rounded brightness profile like a polished metal tube.
    const int bar = y / 64;
    const float t = (fx(y % 64) + 0.5f) / 64.0f;
    const float shine = std::pow(std::sin(t * Pi), 1.5f);
    const Rgba colour = mix(scaled(colours[bar], shine), {1, 1, 1}, std::pow(shine, 12.0f) * 0.8f);
    for (int x = 0; x < 256; ++x) c.set(x, y, colour);
  }
  return c;
}

Canvas paintTitle() {
  Canvas c(512, 128, true);
  drawText(c, "SHOWCASE", 256, 64, 10, 10, [](int, int y) {
    return mix(Rgba{1.0f, 0.95f, 0.6f}, Rgba{1.0f, 0.35f, 0.55f}, std::clamp((fx(y) - 30) / 70.0f, 0.0f, 1.0f));
  });
  return c;
}

const std::vector<std::string>& labelLines() {
  static const std::vector<std::string> lines = {
      "A REAL-TIME SHOW ENGINE", "COPY",     "ADD",       "ADDALPHA",          "ADDCOLOR",
      "COPYALPHA",              "COPYCOLOR", "MIXALPHA", "MIXCOLOR",          "BLUR",
      "SPACKBLUR",              "2D BLOBS",  "EIGHT BLEND MODES", "MOVE + SIZE + FADE", "THANKS FOR WATCHING",
      "PICTURES AND MUSIC MADE BY CODE"};
  return lines;
}

namespace {

// One label line centred on row `centre`: white fading to ice blue downwards.
void drawLabel(Canvas& c, const std::string& text, int centre) {
  const int scale = textWidth(text, 3) <= 500 ? 3 : 2;
  drawText(c, text, 256, centre, scale, 4, [&](int, int y) {
    const float t = std::clamp(fx(y - centre + 12) / 24.0f, 0.0f, 1.0f);
    return mix(Rgba{1.0f, 1.0f, 1.0f}, Rgba{0.55f, 0.85f, 1.0f}, t);
  });
}

}  // namespace

Canvas paintLabels() {
  Canvas c(512, 512, true);
  const auto& lines = labelLines();
  for (size_t i = 0; i < lines.size(); ++i)
    drawLabel(c, lines[i], static_cast<int>(i) * LabelLineHeight + LabelLineHeight / 2);
  return c;
}

Canvas paintMetaballsLabel() {
  Canvas c(512, LabelLineHeight, true);
  drawLabel(c, "METABALLS", LabelLineHeight / 2);
  return c;
}

// Seen in the balls by their normals: u and v run with the normal's x and y from -1 to 1, so the
// middle is what a surface facing the camera shows and the rim what its edges show. Light from the
// surface far above, rippled by caustics, sinking into deep blue.
Canvas paintDepths() {
  Canvas c(256, 256);
  const std::vector<Rgba> stops = {{0.80f, 1.00f, 0.95f}, {0.25f, 0.75f, 0.80f}, {0.05f, 0.35f, 0.55f},
                                   {0.02f, 0.10f, 0.28f}, {0.01f, 0.03f, 0.10f}};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const float v = fx(y) / 255.0f;
      const float t = std::pow(v, 0.8f) * 0.999f * static_cast<float>(stops.size() - 1);
      const size_t i = static_cast<size_t>(t);
      Rgba water = mix(stops[i], stops[i + 1], t - std::floor(t));
      // Caustics: the ridges of a noise field, thin bright lines fading with depth.
      const float n = fractalNoise(fx(x) / 40.0f, fx(y) / 28.0f, 8, 3, 23);
      const float ridge = std::pow(1.0f - std::fabs(n - 0.5f) * 2.0f, 10.0f);
      water = mix(water, {0.85f, 1.0f, 0.95f}, ridge * std::clamp(1.0f - v * 1.6f, 0.0f, 1.0f) * 0.8f);
      // The sun's glow through the water, up and to one side.
      const float dx = fx(x) - 90, dy = fx(y) - 60;
      water = mix(water, {1.0f, 1.0f, 0.9f}, std::exp(-(dx * dx + dy * dy) / 500.0f));
      c.set(x, y, water);
    }
  return c;
}

}  // namespace demo::show
