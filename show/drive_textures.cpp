// The drive's pictures: the tube's wall and the captions drawn over the flight.
#include <algorithm>
#include <cmath>

#include "bitmap_font.h"
#include "drive_scene.h"

namespace demo::show {

namespace {

constexpr float Pi = 3.14159265f;

float fx(int v) { return static_cast<float>(v); }

// A ring of light across the picture every 32 columns (along the tube, u), alternately amber and
// cyan, between them dark metal panels, 16 round the tube (v) with thin seams. The picture varies
// little from row to row, so the rows a ray's v runs through at the tube's seam blur into one tone.
Canvas paintTube() {
  Canvas c(256, 256);
  const Rgba amber{1.0f, 0.62f, 0.22f}, cyan{0.3f, 0.85f, 1.0f};
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const int rib = x / 32;
      const float across = std::fabs(fx(x % 32) - 15.5f) / 16.0f;  // 0 at a ring's centre, 1 between rings
      const float panel = fx(y % 16) / 15.0f;
      Rgba metal = mix({0.10f, 0.12f, 0.20f}, {0.22f, 0.26f, 0.38f}, 0.5f + 0.5f * std::sin(panel * Pi));
      metal = mix(metal, {0.05f, 0.05f, 0.09f}, y % 16 == 0 ? 0.7f : 0.0f);
      const float ring = std::exp(-across * across * 60.0f);
      const float glow = std::exp(-across * 5.0f) * 0.45f;
      const Rgba light = rib % 2 ? cyan : amber;
      Rgba colour = mix(metal, light, std::clamp(glow + ring, 0.0f, 1.0f));
      colour = mix(colour, {1, 1, 1}, ring * ring * 0.6f);
      // Rivets where a panel seam meets the middle between rings.
      const float rx = fx(x % 32) - 0.5f, ry = fx((y + 8) % 16) - 7.5f;
      if (rx * rx + ry * ry < 2.5f) colour = mix(colour, {0.6f, 0.65f, 0.75f}, 0.8f);
      c.set(x, y, colour);
    }
  return c;
}

Canvas paintDriveCaptions() {
  Canvas c(512, 64, true);
  const char* const lines[] = {"RAY-CAST TUNNEL", "PARTICLES"};
  for (int i = 0; i < 2; ++i) {
    const int centre = i * 32 + 16;
    drawText(c, lines[i], 256, centre, 3, 4, [&](int, int y) {
      const float t = std::clamp(fx(y - centre + 12) / 24.0f, 0.0f, 1.0f);
      return mix(Rgba{1.0f, 1.0f, 1.0f}, Rgba{1.0f, 0.75f, 0.45f}, t);
    });
  }
  return c;
}

}  // namespace

std::vector<std::pair<std::string, Canvas>> drivePictures() {
  std::vector<std::pair<std::string, Canvas>> pictures;
  pictures.emplace_back("tube.tga", paintTube());
  pictures.emplace_back("drivecaptions.tga", paintDriveCaptions());
  return pictures;
}

}  // namespace demo::show
