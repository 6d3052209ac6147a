// tga2png IN.tga OUT.png [--size WxH]: shows what the engine sees in a TGA file. The picture goes
// through the engine's own decoder (and, with --size, its texture resampler) and is written as 8-bit
// RGBA, so a show maker can check a file and tests can compare the decoder with reference pictures.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "archive/read_status.h"
#include "archive/reader.h"
#include "cli/option_table.h"
#include "cli/output_file.h"
#include "cli/program.h"
#include "gfx/pixel_convert.h"
#include "gfx/png_file.h"
#include "gfx/tga_image.h"

namespace {

std::string usage(const std::string& program) {
  return "usage: " + program + " IN.tga OUT.png [--size WxH]\n"
         "Decodes IN.tga as the show does and writes it as an 8-bit RGBA PNG. OUT.png is replaced only\n"
         "once it is complete.\n"
         "  --size WxH  stretch to a W x H texture first, as loadtexture does\n"
         "  --help      this text\n"
         "  --version   the version\n"
         "Options take their value as the next word or after '=' (--size=64x64).\n";
}

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
  namespace cli = demo::cli;
  const std::string program = cli::programName(argv[0], "tga2png");
  if (cli::answerHelpOrVersion(program, usage(program), argc, argv)) return 0;
  uint32_t width = 0, height = 0;
  cli::OptionTable table;
  table.value("--size", [&](const std::string& value, std::string& why) {
    if (parseSize(value.c_str(), width, height)) return true;
    why = "needs WxH with both sides from 1 to 16384";
    return false;
  });
  std::vector<std::string> files;
  std::string error;
  if (!table.parse(argc, argv, files, error)) return cli::usageError(program, error);
  if (files.size() != 2)
    return cli::usageError(program, files.size() < 2 ? "needs IN.tga and OUT.png" : "too many arguments: " + files[2]);

  demo::TgaImage image;
  demo::TgaProblem problem = demo::TgaProblem::None;
  const int status = demo::decodeImageFile(image, files[0].c_str(), &problem);
  if (status != 0) {
    // A file that cannot be opened says why in the reader's words, a refused one in the decoder's.
    const char* reason = problem == demo::TgaProblem::OpenFailed ? demo::readStatusText(status)
                                                                   : demo::describeTgaProblem(problem);
    std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), files[0].c_str(), reason);
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
  cli::OutputFile out(files[1]);
  if (!demo::writePng(out.temporary().string().c_str(), rgba.data(), width, height, width * 4, 4, &error)) {
    std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), files[1].c_str(), error.c_str());
    return 1;
  }
  if (!out.commit(error)) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
    return 1;
  }
  return 0;
}
