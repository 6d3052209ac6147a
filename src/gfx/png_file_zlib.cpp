// png_file.h in the Windows build, which writes PNG files (capture frames) but never reads them.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "gfx/png_encoder.h"
#include "gfx/png_file.h"

namespace demo {

bool writePng(const char* path, const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride,
              int channels, std::string* error) {
  std::vector<uint8_t> png;
  if (!encodePng(pixels, width, height, stride, channels, png)) {
    if (error) *error = "invalid picture size or layout";
    return false;
  }
  std::FILE* file = std::fopen(path, "wb");
  if (!file) {
    if (error) *error = std::string("cannot create the file: ") + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  const int writeError = errno;
  if (!(std::fclose(file) == 0 && written)) {
    if (error) *error = std::string("cannot write the file: ") + std::strerror(written ? errno : writeError);
    return false;
  }
  return true;
}

}  // namespace demo
