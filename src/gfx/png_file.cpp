#include "gfx/png_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <png.h>

namespace demo {

namespace {

void setError(std::string* error, const char* text) {
  if (error) *error = text;
}

// The text followed by the system's reason, read from errno right away.
void setSystemError(std::string* error, const char* text) {
  if (error) *error = std::string(text) + ": " + std::strerror(errno);
}

// libpng reports errors by longjmp. This function keeps only trivially destructible locals between
// the setjmp and the end, so jumping back over them is well defined.
// libpng would print its own "libpng error: Write Error" beside the reason the caller reports.
void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

bool writeRows(std::FILE* file, const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride,
               int channels) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Level 1 with the SUB filter is six times faster than the defaults and still small enough.
  png_set_compression_level(png, 1);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_write_info(png, info);
  for (uint32_t y = 0; y < height; ++y) png_write_row(png, pixels + static_cast<size_t>(y) * stride);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool writePng(const char* path, const uint8_t* pixels, uint32_t width, uint32_t height, uint32_t stride,
              int channels, std::string* error) {
  if (width == 0 || height == 0 || (channels != 3 && channels != 4) || stride < width * channels) {
    setError(error, "invalid picture size or layout");
    return false;
  }
  std::FILE* file = std::fopen(path, "wb");
  if (!file) {
    setSystemError(error, "cannot create the file");
    return false;
  }
  const bool written = writeRows(file, pixels, width, height, stride, channels);
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    if (!written) errno = writeError;
    setSystemError(error, "cannot write the file");
    return false;
  }
  return true;
}

bool readPng(const char* path, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path)) {
    setError(error, image.message);
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    setError(error, image.message);
    png_image_free(&image);
    return false;
  }
  width = image.width;
  height = image.height;
  return true;
}

}  // namespace demo
