#include "cli/output_file.h"

#include <system_error>

#if defined(_WIN32)
#include <process.h>
#define DEMO_GETPID _getpid
#else
#include <unistd.h>
#define DEMO_GETPID getpid
#endif

namespace demo::cli {

OutputFile::OutputFile(std::filesystem::path path) : path_(std::move(path)) {
  const std::filesystem::path folder = path_.has_parent_path() ? path_.parent_path() : std::filesystem::path(".");
  temporary_ = folder / ("." + path_.filename().string() + "." + std::to_string(DEMO_GETPID()) + ".part");
}

OutputFile::~OutputFile() {
  if (!committed_) discard();
}

bool OutputFile::commit(std::string& error) {
  std::error_code code;
  std::filesystem::rename(temporary_, path_, code);
  if (code) {
    error = path_.string() + ": cannot replace it: " + code.message();
    discard();
    return false;
  }
  committed_ = true;
  return true;
}

void OutputFile::discard() {
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
}

}  // namespace demo::cli
