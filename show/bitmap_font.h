#pragma once
// A 5 x 7 capital-letter bitmap font for the show's titles and labels, drawn as soft-edged squares
// so that scaled text stays smooth after the engine's 16-bit conversion.

#include <functional>
#include <string>

#include "canvas.h"

namespace demo::show {

constexpr int GlyphColumns = 5;
constexpr int GlyphRows = 7;

// Width in pixels of `text` drawn with cells of `scale` pixels (one empty column between letters).
int textWidth(const std::string& text, int scale);

// Calls `dot` for every lit cell of the text, with the cell's top-left pixel; letters the font lacks
// are drawn as blanks.
void forEachDot(const std::string& text, int left, int top, int scale, const std::function<void(int, int)>& dot);

// Paints the text centred on (centreX, centreY): each lit cell a rounded square of `paint`'s colour
// at that pixel, with a glow of `glow` pixels fading around it in alpha.
void drawText(Canvas& canvas, const std::string& text, int centreX, int centreY, int scale, int glow,
              const std::function<Rgba(int x, int y)>& paint);

}  // namespace demo::show
