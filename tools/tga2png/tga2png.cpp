// tga2png IN.tga OUT.png [--size WxH]: shows what the engine sees in a TGA file. The picture goes
// through the engine's own decoder (and, with --size, its texture resampler) and is written as 8-bit
// RGBA, so a show maker can check a file and tests can compare the decoder with reference pictures.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/reader.h"
#include "gfx/pixel_convert.h"
#include "gfx/png_file.h"
#include "gfx/tga_image.h"

namespace {

constexpr const char* Usage =
    "usage: tga2png IN.tga OUT.png [--size WxH]\n"
    "Decodes IN.tga as the show does and writes it as an 8-bit RGBA PNG.\n"
    "  --size WxH  stretch to a W x H texture first, as loadtexture does\n"
    "  --help      this text\n"
    "  --version   the version\n";

bool parseSize(const char* text, uint32_t& width, uint32_t& height) {
  char* end = nullptr;
  const unsigned long w = std::strtoul(text, &end, 10);
  if (end == text || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  const unsigned long h = std::strtoul(rest, &end, 10);
  if (end == rest || *end != '\0' || w == 0 || h == 0 || w > 16384 || h > 16384) return false;
  width = static_cast<uint32_t>(w);
  height = static_cast<uint32_t>(h);
  return true;
}

std::vector<uint8_t> toRgba(const uint8_t* bgra, size_t pixels) {
  std::vector<uint8_t> rgba(pixels * 4);
  for (size_t i = 0; i < pixels; ++i) {
    rgba[i * 4 + 0] = bgra[i * 4 + 2];
    rgba[i * 4 + 1] = bgra[i * 4 + 1];
    rgba[i * 4 + 2] = bgra[i * 4 + 0];
    rgba[i * 4 + 3] = bgra[i * 4 + 3];
  }
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<const char*> files;
  uint32_t width = 0, height = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::fputs(Usage, stdout);
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      std::printf("tga2png %s\n", DEMO_VERSION);
      return 0;
    }
    if (!std::strcmp(argv[i], "--size")) {
      if (i + 1 >= argc || !parseSize(argv[++i], width, height)) {
        std::fprintf(stderr, "tga2png: --size needs WxH with both sides from 1 to 16384\n");
        return 2;
      }
      continue;
    }
    files.push_back(argv[i]);
  }
  if (files.size() != 2) {
    std::fputs(Usage, stderr);
    return 2;
  }

  demo::TgaImage image;
  demo::TgaProblem problem = demo::TgaProblem::None;
  const int status = demo::decodeImageFile(image, files[0], &problem);
  if (status != 0) {
    std::fprintf(stderr, "tga2png: %s: %s (status %d)\n", files[0], demo::describeTgaProblem(problem), status);
    return 1;
  }
  std::vector<uint8_t> bgra;
  const uint8_t* picture = image.pixels.get();
  if (width != 0) {
    bgra.resize(size_t{width} * height * 4);
    demo::resample(bgra.data(), static_cast<int32_t>(width * 4), width, height, image.pixels.get(), image.width * 4,
                   image.width, image.height);
    picture = bgra.data();
  } else {
    width = image.width;
    height = image.height;
  }
  const std::vector<uint8_t> rgba = toRgba(picture, size_t{width} * height);
  std::string error;
  if (!demo::writePng(files[1], rgba.data(), width, height, width * 4, 4, &error)) {
    std::fprintf(stderr, "tga2png: %s: %s\n", files[1], error.c_str());
    return 1;
  }
  return 0;
}
