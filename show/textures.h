#pragma once
// The show's pictures, each painted from code: what each is for is in demo.run.

#include <string>
#include <vector>

#include "canvas.h"

namespace demo::show {

Canvas paintSky();      // 512 x 512 dusk: night blue to ember, stars, a low sun
Canvas paintPlasma();   // 256 x 256 tiling sine plasma in saturated colours
Canvas paintRings();    // 256 x 256 glowing concentric rings, alpha = light
Canvas paintChecker();  // 256 x 256 bevelled two-tone checkerboard
Canvas paintClouds();   // 256 x 256 tiling noise clouds, alpha = density
Canvas paintFlare();    // 256 x 256 lens flare: core, halo and rays, alpha = light
Canvas paintGrid();     // 256 x 256 bright tiles and lines for the blob lens to bend
Canvas paintBars();     // 256 x 256 horizontal copper bars
Canvas paintTitle();    // 512 x 128 the show's name with a glow
Canvas paintDepths();   // 256 x 256 the metaballs' surroundings: caustic light above, deep blue below

// The label strip: one line of text every LabelLineHeight pixels of a 512 x 512 picture, in the
// order of labelLines(); demo.run cuts them out with texture rectangles.
constexpr int LabelLineHeight = 32;
const std::vector<std::string>& labelLines();
Canvas paintLabels();
// One more label line, "METABALLS", on a 512 x LabelLineHeight picture of its own.
Canvas paintMetaballsLabel();

}  // namespace demo::show
