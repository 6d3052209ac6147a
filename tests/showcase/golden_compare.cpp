#include "golden_compare.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

#include "archive/archive.h"
#include "gfx/png_file.h"

namespace demo::test {

std::string compareFrames(const std::filesystem::path& actual, const std::filesystem::path& golden) {
  std::vector<uint8_t> a, g;
  uint32_t aw = 0, ah = 0, gw = 0, gh = 0;
  if (!readPng(actual.c_str(), a, aw, ah)) return "cannot read the captured frame " + actual.string();
  if (!readPng(golden.c_str(), g, gw, gh)) return "cannot read the golden frame " + golden.string();
  if (aw != gw || ah != gh) {
    return "size " + std::to_string(aw) + "x" + std::to_string(ah) + ", golden " + std::to_string(gw) + "x" +
           std::to_string(gh);
  }
  uint64_t strays = 0, sum = 0;
  int worst = 0;
  for (size_t p = 0; p < a.size(); p += 4) {
    int pixelWorst = 0;
    for (size_t c = 0; c < 3; ++c) {
      const int step = std::abs(a[p + c] - g[p + c]);
      sum += static_cast<uint64_t>(step);
      pixelWorst = std::max(pixelWorst, step);
    }
    strays += pixelWorst > MaxStep ? 1 : 0;
    worst = std::max(worst, pixelWorst);
  }
  const double pixels = static_cast<double>(a.size() / 4);
  const double mean = static_cast<double>(sum) / (pixels * 3);
  if (static_cast<double>(strays) <= pixels * MaxStrayShare && mean <= MaxMeanStep) return "";
  std::ostringstream why;
  why << strays << " of " << a.size() / 4 << " pixels differ by more than " << MaxStep << " (worst " << worst
      << "), mean difference " << mean << " per channel";
  return why.str();
}

std::string soundFingerprint(const std::vector<uint8_t>& sound, uint32_t windowFrames) {
  std::ostringstream text;
  text << "crc32 0x" << std::hex << crc32(sound.data(), sound.size()) << std::dec << "\n";
  const size_t windowBytes = static_cast<size_t>(windowFrames) * 4;
  for (size_t at = 0; at + windowBytes <= sound.size(); at += windowBytes) {
    double squares = 0;
    int peak = 0;
    for (size_t i = at; i < at + windowBytes; i += 2) {
      const int value = static_cast<int16_t>(sound[i] | sound[i + 1] << 8);
      squares += static_cast<double>(value) * value;
      peak = std::max(peak, std::abs(value));
    }
    text << std::lround(std::sqrt(squares / static_cast<double>(windowFrames * 2))) << " " << peak << "\n";
  }
  return text.str();
}

std::string firstDifference(const std::string& actual, const std::string& golden) {
  std::istringstream a(actual), g(golden);
  std::string la, lg;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, la)), moreG = static_cast<bool>(std::getline(g, lg));
    if (!moreA && !moreG) return "";
    if (!moreA || !moreG || la != lg)
      return "line " + std::to_string(line) + ": \"" + (moreA ? la : "(end)") + "\", golden \"" +
             (moreG ? lg : "(end)") + "\"";
  }
}

}  // namespace demo::test
