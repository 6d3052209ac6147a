#include "support/capture_frames.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "gfx/png_file.h"

namespace demo::test {

namespace fs = std::filesystem;

std::vector<fs::path> captureFrames(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (it->path().filename().string().rfind("frame_", 0) == 0) found.push_back(it->path());
  std::sort(found.begin(), found.end());
  return found;
}

std::vector<char> fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFrameEvidence(const std::string& name, const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                   uint32_t width, uint32_t height) {
  const char* dir = std::getenv("DEMO_SNAPSHOT_DIR");
  if (!dir) return;
  const uint32_t W = width * 3;
  std::vector<uint8_t> picture(size_t{W} * height * 3);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < W; ++x) {
      const uint32_t panel = x / width, source = y * width + x % width;
      for (int c = 0; c < 3; ++c) {
        const int p = a[source * 4 + c], q = b[source * 4 + c];
        picture[(size_t{y} * W + x) * 3 + c] =
            static_cast<uint8_t>(panel == 0 ? p : panel == 1 ? q : std::min(255, 32 * std::abs(p - q)));
      }
    }
  writePng((std::string(dir) + "/" + name).c_str(), picture.data(), W, height, W * 3, 3);
}

::testing::AssertionResult framesAgree(const fs::path& aFile, const fs::path& bFile, const FrameTolerance& tolerance,
                                       const char* nameA, const char* nameB, const std::string& evidence) {
  std::vector<uint8_t> a, b;
  uint32_t w = 0, h = 0, w2 = 0, h2 = 0;
  if (!readPng(aFile.c_str(), a, w, h) || !readPng(bFile.c_str(), b, w2, h2))
    return ::testing::AssertionFailure() << aFile.filename() << " cannot be read from both captures";
  if (w != w2 || h != h2) return ::testing::AssertionFailure() << aFile.filename() << " differs in size";
  int differing = 0, wide = 0, largest = 0;
  std::string first;
  for (uint32_t i = 0; i < w * h; ++i) {
    int worst = 0;
    for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(a[i * 4 + c] - b[i * 4 + c]));
    if (worst <= 1) continue;
    largest = std::max(largest, worst);
    wide += worst > 2;
    if (differing++ < 4) {
      char text[128];
      std::snprintf(text, sizeof text, " (%u, %u): %s %d %d %d, %s %d %d %d;", i % w, i / w, nameA, a[i * 4],
                    a[i * 4 + 1], a[i * 4 + 2], nameB, b[i * 4], b[i * 4 + 1], b[i * 4 + 2]);
      first += text;
    }
  }
  if (differing > 0) writeFrameEvidence(evidence + "-" + aFile.filename().string(), a, b, w, h);
  if (differing <= tolerance.pixels && wide <= tolerance.widePixels && largest <= tolerance.steps)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << aFile.filename() << ": " << differing << " pixels differ by more than 1, "
                                       << wide << " by more than 2 (at most " << largest << ")" << first;
}

}  // namespace demo::test
