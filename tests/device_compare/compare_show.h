#pragma once
// The show both builds capture for the comparison when no other is given: compare_show.run with a
// tune and two pictures made by the asset writers. It shows every blend mode, fades, moves, sizes,
// blur and spackblur, a grid image under 2D blobs and fadebg, with music.

#include <filesystem>

namespace demo::scenes {

// Writes demo.run (a copy of `script`), song.xm, glow.tga and bars.tga into `folder`.
void writeCompareShow(const std::filesystem::path& folder, const std::filesystem::path& script);

}  // namespace demo::scenes
