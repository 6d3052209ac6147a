#include "showcase_files.h"

#include <cstdio>
#include <cstdlib>

#include "app/capture.h"

namespace demo::test {
namespace {

// Restores the working folder on every way out.
class ScopedCurrentPath {
 public:
  explicit ScopedCurrentPath(const std::filesystem::path& path) : saved_(std::filesystem::current_path()) {
    std::filesystem::current_path(path);
  }
  ~ScopedCurrentPath() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

}  // namespace

std::filesystem::path showcaseData() { return SHOWCASE_DATA_DIR; }
std::filesystem::path goldenFolder() { return SHOWCASE_GOLDEN_DIR; }
std::filesystem::path actualFolder() {
  std::filesystem::create_directories(SHOWCASE_ACTUAL_DIR);
  return SHOWCASE_ACTUAL_DIR;
}

int captureShowcase(const CaptureOptions& options, std::string& log) {
  std::FILE* file = std::tmpfile();
  int status;
  {
    ScopedCurrentPath inData(showcaseData());
    status = runCapture(options, "", "demo.run", file);
  }
  std::rewind(file);
  log.clear();
  for (int c; (c = std::fgetc(file)) != EOF;) log += static_cast<char>(c);
  std::fclose(file);
  return status;
}

bool updatingGolden() { return std::getenv("DEMO_UPDATE_GOLDEN") != nullptr; }

}  // namespace demo::test
