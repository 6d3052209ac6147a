#include "support/testdata.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

namespace demo::test {

std::filesystem::path testdataDir() {
  if (const char* env = std::getenv("DEMO_TESTDATA"); env && *env) return env;
  return DEMO_TESTDATA_DIR;
}

static std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}

std::vector<std::filesystem::path> testdataFiles(const std::string& sub, const std::vector<std::string>& extensions) {
  std::vector<std::filesystem::path> out;
  const auto dir = testdataDir() / sub;
  if (!std::filesystem::is_directory(dir)) return out;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    const std::string name = lower(entry.path().filename().string());
    for (const auto& ext : extensions) {
      const std::string e = lower(ext);
      if (name.size() >= e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0) {
        out.push_back(entry.path());
        break;
      }
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<unsigned char> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("demo-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace demo::test
