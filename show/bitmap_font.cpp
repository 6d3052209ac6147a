#include "bitmap_font.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace demo::show {
namespace {

struct Glyph {
  char letter;
  std::array<const char*, GlyphRows> rows;
};

// clang-format off
constexpr Glyph Glyphs[] = {
  {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
  {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
  {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
  {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
  {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
  {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
  {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
  {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
  {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
  {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
  {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
  {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
  {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
  {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
  {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
  {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
  {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
  {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
  {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
  {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
  {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
  {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
  {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
  {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
  {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
  {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
  {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
  {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
  {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
  {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
  {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
  {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
  {'6', {".###.", "#....", "#....", "####.", "#...#", "#...#", ".###."}},
  {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
  {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
  {'9', {".###.", "#...#", "#...#", ".####", "....#", "....#", ".###."}},
  {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
  {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
  {'-', {".....", ".....", ".....", ".###.", ".....", ".....", "....."}},
  {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
  {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
};
// clang-format on

const Glyph* find(char letter) {
  for (const Glyph& glyph : Glyphs)
    if (glyph.letter == letter) return &glyph;
  return nullptr;
}

}  // namespace

int textWidth(const std::string& text, int scale) {
  if (text.empty()) return 0;
  return static_cast<int>(text.size()) * (GlyphColumns + 1) * scale - scale;
}

void forEachDot(const std::string& text, int left, int top, int scale, const std::function<void(int, int)>& dot) {
  for (size_t i = 0; i < text.size(); ++i) {
    const Glyph* glyph = find(text[i]);
    if (!glyph) continue;
    const int x0 = left + static_cast<int>(i) * (GlyphColumns + 1) * scale;
    for (int row = 0; row < GlyphRows; ++row)
      for (int column = 0; column < GlyphColumns; ++column)
        if (glyph->rows[row][column] == '#') dot(x0 + column * scale, top + row * scale);
  }
}

void drawText(Canvas& canvas, const std::string& text, int centreX, int centreY, int scale, int glow,
              const std::function<Rgba(int x, int y)>& paint) {
  const int left = centreX - textWidth(text, scale) / 2, top = centreY - GlyphRows * scale / 2;
  // Distance of every pixel to the nearest lit cell, within the glow's reach; the letter shapes and
  // their glow both come from it.
  const int w = canvas.width(), h = canvas.height();
  std::vector<float> distance(static_cast<size_t>(w) * h, 1e9f);
  const float half = static_cast<float>(scale) * 0.5f;
  forEachDot(text, left, top, scale, [&](int cx, int cy) {
    const float mx = static_cast<float>(cx) + half, my = static_cast<float>(cy) + half;
    for (int y = std::max(0, cy - glow); y < std::min(h, cy + scale + glow); ++y)
      for (int x = std::max(0, cx - glow); x < std::min(w, cx + scale + glow); ++x) {
        // Distance to the square cell (0 inside), slightly rounded at the corners.
        const float dx = std::max(std::fabs(static_cast<float>(x) + 0.5f - mx) - half * 0.8f, 0.0f);
        const float dy = std::max(std::fabs(static_cast<float>(y) + 0.5f - my) - half * 0.8f, 0.0f);
        float& d = distance[static_cast<size_t>(y) * w + x];
        d = std::min(d, std::sqrt(dx * dx + dy * dy));
      }
  });
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float d = distance[static_cast<size_t>(y) * w + x];
      if (d > static_cast<float>(glow)) continue;
      const float body = std::clamp(1.5f - d, 0.0f, 1.0f);
      const float halo = glow > 0 ? std::pow(1.0f - d / static_cast<float>(glow), 2.0f) * 0.6f : 0.0f;
      Rgba c = paint(x, y);
      c = mix(scaled(c, 0.6f), c, body);
      c.a = std::max(body, halo);
      canvas.blend(x, y, c);
    }
}

}  // namespace demo::show
