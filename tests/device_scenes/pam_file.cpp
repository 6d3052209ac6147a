#include "pam_file.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace demo::scenes {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

bool writePam(const std::string& path, const std::vector<uint8_t>& rgba, uint32_t width, uint32_t height) {
  if (rgba.size() != size_t{width} * height * 4) return false;
  File f(std::fopen(path.c_str(), "wb"));
  if (!f) return false;
  std::fprintf(f.get(), "P7\nWIDTH %u\nHEIGHT %u\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
  return std::fwrite(rgba.data(), 1, rgba.size(), f.get()) == rgba.size() && std::fflush(f.get()) == 0;
}

bool readPam(const std::string& path, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  unsigned w = 0, h = 0, depth = 0, maxval = 0;
  char tupleType[32] = {};
  if (std::fscanf(f.get(), "P7 WIDTH %u HEIGHT %u DEPTH %u MAXVAL %u TUPLTYPE %31s ENDHDR", &w, &h, &depth, &maxval,
                  tupleType) != 5 ||
      depth != 4 || maxval != 255 || std::strcmp(tupleType, "RGB_ALPHA") != 0 || w == 0 || h == 0 || w > 4096 ||
      h > 4096 || std::fgetc(f.get()) != '\n')
    return false;
  width = w, height = h;
  rgba.resize(size_t{w} * h * 4);
  return std::fread(rgba.data(), 1, rgba.size(), f.get()) == rgba.size();
}

}  // namespace demo::scenes
