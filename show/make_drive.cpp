// make_drive OUTDIR: writes the camera flight the show's tunnel is seen along (tunnel.3ds) and the
// pictures the drive draws with into OUTDIR.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "drive_scene.h"

int main(int argc, char** argv) {
  using namespace demo::show;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_drive OUTDIR\n");
    return 2;
  }
  try {
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    const std::vector<uint8_t> scene = demo::write3ds(driveScene());
    const auto temporary = dir / "tunnel.3ds.part";
    {
      std::ofstream out(temporary, std::ios::binary);
      out.write(reinterpret_cast<const char*>(scene.data()), static_cast<std::streamsize>(scene.size()));
      if (!out) throw std::runtime_error("cannot write " + temporary.string());
    }
    std::filesystem::rename(temporary, dir / "tunnel.3ds");
    for (const auto& [name, picture] : drivePictures()) picture.save(dir / name);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_drive: %s\n", e.what());
    return 1;
  }
  return 0;
}
