#include "app/web/archive_check.h"

#include <vector>

namespace demo {

std::string archiveProblem(const Archive* archive, const std::string& name) {
  if (!archive) return name + " is not a show archive: it does not end in an archive's trailer.";
  std::vector<ArchiveEntry> entries;
  if (archive->entries(entries) != ReadOk)
    return name + " is damaged: its directory does not fit inside the file.";
  bool script = false;
  for (const ArchiveEntry& entry : entries) {
    if (!usableMember(entry.flags)) continue;
    Reader reader;
    if (archive->openMember(entry.name.c_str(), reader) != ReadOk)
      return name + " is damaged: its member " + entry.name + " does not read back intact.";
    script = script || sameMemberName(entry.name.c_str(), "demo.run");
  }
  if (!script) return name + " holds no demo.run, so it is no show.";
  return {};
}

}  // namespace demo
