// make_textures OUTDIR: paints the built-in show's pictures into OUTDIR as TGA files.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <utility>

#include "textures.h"

int main(int argc, char** argv) {
  using namespace demo::show;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_textures OUTDIR\n");
    return 2;
  }
  const std::pair<const char*, std::function<Canvas()>> pictures[] = {
      {"sky.tga", paintSky},         {"plasma.tga", paintPlasma}, {"rings.tga", paintRings},
      {"checker.tga", paintChecker}, {"clouds.tga", paintClouds}, {"flare.tga", paintFlare},
      {"grid.tga", paintGrid},       {"bars.tga", paintBars},     {"title.tga", paintTitle},
      {"labels.tga", paintLabels},   {"depths.tga", paintDepths}, {"metaballs.tga", paintMetaballsLabel}};
  try {
    std::filesystem::create_directories(argv[1]);
    for (const auto& [name, paint] : pictures) paint().save(std::filesystem::path(argv[1]) / name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_textures: %s\n", e.what());
    return 1;
  }
  return 0;
}
