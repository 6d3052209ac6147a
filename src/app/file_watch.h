#pragma once
// The files a show is made of, watched for changes on disk (--watch): the script and every file it
// loads. A change is a new modification time or size, or a file appearing or going; names that live
// only in the appended archive never change.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

class FileWatch {
 public:
  // Starts watching these files as they are now.
  void watch(const std::vector<std::string>& names);
  // True when any of them changed since watch() or the last call that answered true.
  bool changed();

 private:
  struct Seen {
    std::filesystem::path path;
    bool exists = false;
    std::filesystem::file_time_type time{};
    uintmax_t size = 0;
  };
  static Seen look(const std::filesystem::path& path);

  std::vector<Seen> files_;
};

}  // namespace demo
