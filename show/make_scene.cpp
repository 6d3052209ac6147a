// make_scene OUTDIR: writes the built-in show's 3D scene (voyage.3ds) and the pictures it and its
// captions use into OUTDIR.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include "voyage_scene.h"

int main(int argc, char** argv) {
  using namespace demo::show;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_scene OUTDIR\n");
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const std::vector<uint8_t> scene = demo::write3ds(voyageScene());
    const auto temporary = dir / "voyage.3ds.part";
    {
      std::ofstream out(temporary, std::ios::binary);
      out.write(reinterpret_cast<const char*>(scene.data()), static_cast<std::streamsize>(scene.size()));
      if (!out) throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, dir / "voyage.3ds");
    for (const auto& [name, picture] : voyagePictures()) picture.save(dir / name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_scene: %s\n", e.what());
    return 1;
  }
  return 0;
}
