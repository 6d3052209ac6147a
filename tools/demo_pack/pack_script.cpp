#include "demo_pack/pack_script.h"

#include <stdexcept>

#include "archive/archive.h"
#include "archive/read_status.h"
#include "music/silent_music.h"
#include "platform/headless/headless_host.h"
#include "script/compiler.h"
#include "script/file_problems.h"
#include "script/named_files.h"

namespace demo {

namespace {

bool isMember(const std::vector<ArchiveEntry>& entries, const std::string& name) {
  for (const ArchiveEntry& entry : entries)
    if (usableMember(entry.flags) && sameMemberName(entry.name.c_str(), name.c_str())) return true;
  return false;
}

}  // namespace

ScriptReport verifyScript(const std::filesystem::path& path) {
  std::unique_ptr<Archive> archive;
  std::vector<ArchiveEntry> entries;
  if (Archive::probe(path.string(), archive) != ReadOk || archive->entries(entries) != ReadOk)
    throw std::runtime_error(path.string() + ": carries no readable archive");
  ScriptReport report;
  Reader script;
  const int status = archive->openMember("demo.run", script);
  if (status == ReadNotFound) return report;
  report.present = true;
  if (status != ReadOk) {
    report.failures.push_back(std::string("demo.run: cannot be opened: ") + readStatusText(status));
    return report;
  }
  HeadlessHost host;
  DeviceLayer layer(nullptr, nullptr);
  SilentMusic music;
  Show show(host, layer, music);
  if (!compileScript(show, script)) {
    report.failures.push_back(compileReport(show.compiler));
    return report;
  }
  for (const NamedFile& file : namedFiles(show.timeline.program())) {
    ++report.files;
    if (!isMember(entries, file.name))
      report.failures.push_back("demo.run:" + std::to_string(file.line) + ": " + file.keyword + " " +
                                quoted(file.name.c_str()) +
                                ": not a member (the show would look for it on the disk of whoever runs it)");
  }
  return report;
}

}  // namespace demo
