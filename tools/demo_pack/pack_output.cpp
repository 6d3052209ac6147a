#include "demo_pack/pack_output.h"

#include <cerrno>
#include <cstring>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "cli/output_file.h"

namespace demo {

namespace {

namespace fs = std::filesystem;

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
  cli::OutputFile temporary(path);
  std::FILE* out = std::fopen(temporary.temporary().string().c_str(), "wb");
  if (!out) fail(path, std::string("cannot be written (") + std::strerror(errno) + ")");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  const int writeError = errno;
  // Closing flushes: its failure is a write failure too.
  if (std::fclose(out) != 0 || !written)
    fail(path, std::string("writing failed (") + std::strerror(written ? errno : writeError) + ")");
  if (executable) {
    std::error_code error;
    fs::permissions(temporary.temporary(), executablePerms(fs::status(temporary.temporary()).permissions()), error);
    if (error) fail(path, "cannot be made executable (" + error.message() + ")");
  }
  std::string why;
  if (!temporary.commit(why)) throw std::runtime_error(why);
}

}  // namespace demo
