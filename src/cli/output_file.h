#pragma once
// A file written under a temporary name beside its final one and renamed over it only when it is
// complete: a failure (a full disk, an interruption, an exception) leaves the file that was there
// before, or nothing, but never a half-written file. Beside, so that the rename is atomic; the
// temporary name begins with a dot and holds the process id, so two writers stay apart.

#include <filesystem>
#include <string>

namespace demo::cli {

class OutputFile {
 public:
  explicit OutputFile(std::filesystem::path path);
  ~OutputFile();  // removes the temporary file unless it was committed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // Where to write.
  const std::filesystem::path& temporary() const { return temporary_; }

  // Renames the temporary file over the final one; false with the system's reason in `error`.
  bool commit(std::string& error);
  // Removes the temporary file now.
  void discard();

 private:
  std::filesystem::path path_;
  std::filesystem::path temporary_;
  bool committed_ = false;
};

}  // namespace demo::cli
