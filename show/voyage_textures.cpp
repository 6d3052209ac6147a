// The voyage's pictures: floor tiles, marble, brushed metal, the chrome reflection map, glass and its
// opacity map, and the captions.

#include <algorithm>
#include <cmath>

#include "bitmap_font.h"
#include "voyage_scene.h"

namespace demo::show {

namespace {

constexpr float Pi = 3.14159265f;
constexpr int Side = 256;

float fx(int v) { return static_cast<float>(v); }

// Bevelled stone tiles, four across, with noise in the stone and dark grout.
Canvas paintFloor() {
  Canvas c(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const int tx = x % 64, ty = y % 64;
      const float edge = static_cast<float>(std::min(std::min(tx, 63 - tx), std::min(ty, 63 - ty)));
      const float stone = fractalNoise(fx(x) / 32.0f, fx(y) / 32.0f, 8, 4, 5);
      const bool light = ((x / 64) + (y / 64)) % 2 == 0;
      Rgba base = light ? Rgba{0.62f, 0.60f, 0.66f} : Rgba{0.30f, 0.32f, 0.42f};
      base = scaled(base, 0.75f + 0.5f * stone);
      if (edge < 2) base = {0.08f, 0.08f, 0.1f};
      else if (edge < 5) base = scaled(base, tx < 5 || ty < 5 ? 1.25f : 0.7f);
      c.set(x, y, base);
    }
  return c;
}

// Warm marble: veins from a warped sine through noise.
Canvas paintMarble() {
  Canvas c(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const float n = fractalNoise(fx(x) / 64.0f, fx(y) / 64.0f, 4, 5, 23);
      const float vein = std::pow(std::abs(std::sin((fx(x) + fx(y)) / 256.0f * 4 * Pi + n * 7)), 0.25f);
      c.set(x, y, mix(Rgba{0.45f, 0.25f, 0.2f}, Rgba{0.98f, 0.92f, 0.85f}, vein));
    }
  return c;
}

// Dark brushed metal: streaks along x.
Canvas paintMetal() {
  Canvas c(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const float streak = fractalNoise(fx(x) / 128.0f, fx(y) / 2.0f, 2, 3, 7);
      const float g = 0.25f + 0.2f * streak;
      c.set(x, y, {g, g * 1.02f, g * 1.08f});
    }
  return c;
}

// The reflection map, read through the reflection vector's x and y: a sky above the horizon (dusk
// colours, a bright sun off to one side), a dark ground below, a bright rim between.
Canvas paintChrome() {
  Canvas c(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const float u = fx(x) / (Side - 1) * 2 - 1, v = fx(y) / (Side - 1) * 2 - 1;  // -1 .. 1
      Rgba colour = v < 0 ? mix(Rgba{0.1f, 0.15f, 0.45f}, Rgba{0.95f, 0.55f, 0.45f}, (v + 1))
                          : mix(Rgba{0.3f, 0.25f, 0.3f}, Rgba{0.05f, 0.04f, 0.06f}, v);
      const float rim = std::exp(-std::abs(v) * 18.0f);
      colour = mix(colour, Rgba{1, 0.95f, 0.85f}, rim);
      const float sun = std::exp(-((u - 0.45f) * (u - 0.45f) + (v + 0.5f) * (v + 0.5f)) * 40.0f);
      colour = mix(colour, Rgba{1, 1, 0.9f}, sun);
      c.set(x, y, colour);
    }
  return c;
}

// Pale blue glass with a faint frosted noise.
Canvas paintGlass() {
  Canvas c(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const float frost = fractalNoise(fx(x) / 16.0f, fx(y) / 16.0f, 16, 3, 41);
      c.set(x, y, mix(Rgba{0.55f, 0.8f, 1.0f}, Rgba{0.95f, 0.98f, 1.0f}, frost));
    }
  return c;
}

// The opacity: brightness is opacity. A frame and leaded diamonds, clear panes between.
Canvas paintGlassMask() {
  Canvas c(Side, Side);
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const float edge = static_cast<float>(std::min(std::min(x, Side - 1 - x), std::min(y, Side - 1 - y)));
      // Distances to the two families of diagonal lead lines, 64 pixels apart.
      const float d1 = std::abs(std::fmod(fx(x + y), 64.0f) - 32.0f);
      const float d2 = std::abs(std::fmod(fx(x - y + 512), 64.0f) - 32.0f);
      const auto line = [](float d) { return std::clamp((4 - (32 - d)) / 2.0f, 0.0f, 1.0f); };
      const float lead = std::max(line(d1), line(d2));
      const float frame = std::clamp((12 - edge) / 2.0f, 0.0f, 1.0f);
      const float o = std::max({0.3f, lead, frame});
      c.set(x, y, {o, o, o});
    }
  return c;
}

// One caption every 32 pixels of a 512 x 128 picture (see demo.run).
Canvas paintCaptions() {
  Canvas c(512, 128, true);
  const char* lines[] = {"A FLIGHT THROUGH A 3D SCENE", "SOLID TO WIREFRAME", "LIGHTS  REFLECTIONS  GLASS", ""};
  for (int i = 0; i < 4; ++i) {
    const int centre = i * 32 + 16;
    drawText(c, lines[i], 256, centre, textWidth(lines[i], 3) <= 500 ? 3 : 2, 4, [&](int, int y) {
      const float t = std::clamp(fx(y - centre + 12) / 24.0f, 0.0f, 1.0f);
      return mix(Rgba{1.0f, 0.95f, 0.8f}, Rgba{1.0f, 0.6f, 0.35f}, t);
    });
  }
  return c;
}

}  // namespace

std::vector<std::pair<std::string, Canvas>> voyagePictures() {
  std::vector<std::pair<std::string, Canvas>> out;
  out.emplace_back("floor.tga", paintFloor());
  out.emplace_back("marble.tga", paintMarble());
  out.emplace_back("metal.tga", paintMetal());
  out.emplace_back("chrome.tga", paintChrome());
  out.emplace_back("glass.tga", paintGlass());
  out.emplace_back("glassmask.tga", paintGlassMask());
  out.emplace_back("captions.tga", paintCaptions());
  return out;
}

}  // namespace demo::show
