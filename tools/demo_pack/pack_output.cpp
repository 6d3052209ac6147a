#include "demo_pack/pack_output.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

#if defined(_WIN32)
#include <process.h>
#define DEMO_GETPID _getpid
#else
#include <unistd.h>
#define DEMO_GETPID getpid
#endif

namespace demo {

namespace {

namespace fs = std::filesystem;

// Removes the temporary file unless the rename took it over.
class TemporaryFile {
 public:
  explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const fs::path& path() const { return path_; }
  void keep() { path_.clear(); }

 private:
  fs::path path_;
};

fs::perms executablePerms(fs::perms perms) {
  using P = fs::perms;
  if ((perms & P::owner_read) != P::none) perms |= P::owner_exec;
  if ((perms & P::group_read) != P::none) perms |= P::group_exec;
  if ((perms & P::others_read) != P::none) perms |= P::others_exec;
  return perms;
}

[[noreturn]] void fail(const fs::path& path, const std::string& what) {
  throw std::runtime_error(path.string() + ": " + what);
}

}  // namespace

void writeExecutable(const fs::path& path, std::span<const uint8_t> bytes, bool executable) {
  // Same folder, so that the rename is atomic; the process id keeps two packers apart.
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  TemporaryFile temporary(folder / ("." + path.filename().string() + ".demo-pack-" + std::to_string(DEMO_GETPID())));
  {
    std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
    if (!out) fail(path, std::string("cannot be written (") + std::strerror(errno) + ")");
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();  // closing flushes: its failure is a write failure too
    if (!out) fail(path, "writing failed (disk full?)");
  }
  std::error_code error;
  if (executable) {
    fs::permissions(temporary.path(), executablePerms(fs::status(temporary.path()).permissions()), error);
    if (error) fail(path, "cannot be made executable (" + error.message() + ")");
  }
  fs::rename(temporary.path(), path, error);
  if (error) fail(path, "cannot replace it (" + error.message() + ")");
  temporary.keep();
}

}  // namespace demo
