#include "app/file_watch.h"

namespace demo {

FileWatch::Seen FileWatch::look(const std::filesystem::path& path) {
  Seen seen;
  seen.path = path;
  std::error_code error;
  seen.exists = std::filesystem::is_regular_file(path, error);
  if (!seen.exists) return seen;
  seen.time = std::filesystem::last_write_time(path, error);
  seen.size = std::filesystem::file_size(path, error);
  return seen;
}

void FileWatch::watch(const std::vector<std::string>& names) {
  files_.clear();
  for (const std::string& name : names) files_.push_back(look(name));
}

bool FileWatch::changed() {
  bool any = false;
  for (Seen& seen : files_) {
    const Seen now = look(seen.path);
    if (now.exists != seen.exists || now.time != seen.time || now.size != seen.size) {
      seen = now;
      any = true;
    }
  }
  return any;
}

}  // namespace demo
