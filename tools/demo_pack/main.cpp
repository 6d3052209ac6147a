// demo-pack: writes a show's files as the data archive behind the engine's executable, and lists or
// checks such an archive.

#include <algorithm>
#include <string_view>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#define DEMO_ISATTY(fd) _isatty(fd)
#else
#include <unistd.h>
#define DEMO_ISATTY(fd) isatty(fd)
#endif

#include "cli/option_table.h"
#include "cli/program.h"
#include "demo_pack/pack_inputs.h"
#include "demo_pack/pack_inspect.h"
#include "demo_pack/pack_job.h"
#include "demo_pack/pack_output.h"
#include "demo_pack/pack_script.h"
#include "demo_pack/pack_writer.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

constexpr int ExitFailure = 1;

std::string usageText(const std::string& program) {
  return "usage: " + program + " -o OUT --exe EXE [--store] FILE|DIR...\n"
         "       " + program + " -o OUT --archive-only [--store] FILE|DIR...\n"
         "       " + program + " --list FILE\n"
         "       " + program + " --verify FILE\n"
    "\n"
    "Writes EXE followed by a data archive of the given files to OUT. A FILE becomes a member named by\n"
    "its file name; the files below a DIR become members named by their path relative to DIR, with\n"
    "backslashes between folders. Each member is NRV2B-compressed where that makes it smaller and\n"
    "carries the CRC-32 of its bytes. OUT is replaced only once it is complete, and is executable.\n"
    "\n"
    "  -o, --output OUT  the file to write\n"
    "  --exe EXE         the engine's executable as built (demo, demo.exe), which the archive is appended to\n"
    "  --archive-only    write the archive alone, nothing before it (what the browser page plays)\n"
    "  --store           store every member as it is, without compression\n"
    "  --list FILE       print FILE's archive directory: stored and original size, method, CRC, name\n"
    "  --verify FILE     open every member of FILE as the show does and check it, compile its demo.run and\n"
    "                    check that every file it names is a member; exit 1 on any failure\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n"
    "Options take their value as the next word or after '=' (--exe=build/demo).\n";
}

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Options {
  std::optional<std::string> output, exe, list, verify;
  bool store = false;
  bool archiveOnly = false;
  std::vector<fs::path> inputs;
};

// Reports packing progress on stderr once packing has taken a second, and no more than a few times
// a second; a terminal gets one line rewritten in place.
class ProgressLine {
 public:
  ProgressLine() : terminal_(DEMO_ISATTY(2)) {}
  ~ProgressLine() {
    if (shown_ && terminal_) std::fputc('\n', stderr);
  }

  void update(uint64_t done, uint64_t total) {
    const auto now = Clock::now();
    const auto interval = terminal_ ? std::chrono::milliseconds(250) : std::chrono::milliseconds(2000);
    if (total == 0 || now - start_ < std::chrono::seconds(1) || (shown_ && now - last_ < interval)) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "demo-pack: packing %3d %% (%.1f of %.1f MB)%c", static_cast<int>(done * 100 / total),
                 done / 1e6, total / 1e6, terminal_ ? '\r' : '\n');
    std::fflush(stderr);
  }

 private:
  using Clock = std::chrono::steady_clock;
  const bool terminal_;
  bool shown_ = false;
  Clock::time_point start_ = Clock::now(), last_;
};

Options parseOptions(int argc, char** argv) {
  Options options;
  std::vector<std::string> inputs;
  std::string error;
  cli::OptionTable table;
  const auto into = [](std::optional<std::string>& target) {
    return [&target](const std::string& value, std::string&) {
      target = value;
      return true;
    };
  };
  table.value("--output", into(options.output))
      .alias("-o")
      .value("--exe", into(options.exe))
      .value("--list", into(options.list))
      .value("--verify", into(options.verify))
      .flag("--store", options.store)
      .flag("--archive-only", options.archiveOnly);
  if (!table.parse(argc, argv, inputs, error)) throw UsageError(error);
  options.inputs.assign(inputs.begin(), inputs.end());
  return options;
}

bool endsWithMagic(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data() + bytes.size() - 4, ArchiveMagic, 4) == 0;
}

// Refuses what cannot carry a show: an empty file, a file of another program (without the engine's
// marker, so it would never read the archive), and one that already carries an archive.
void checkExecutable(const std::string& exe, const std::vector<uint8_t>& file) {
  if (file.empty()) throw std::runtime_error(exe + ": is empty; give the engine's executable as built");
  const std::string_view marker = EngineMarker;
  if (std::search(file.begin(), file.end(), marker.begin(), marker.end()) == file.end())
    throw std::runtime_error(exe + ": is not an executable of this engine (it would never read the archive); give "
                                   "build/.../src/app/demo or demo.exe");
  // A second archive behind the first would leave the first as dead weight nobody can reach.
  if (endsWithMagic(file)) throw std::runtime_error(exe + ": already carries an archive; give the executable as built");
}

int pack(const std::string& program, const Options& options) {
  if (options.archiveOnly && options.exe) throw UsageError("give either --exe EXE or --archive-only, not both");
  if (!options.output || (!options.exe && !options.archiveOnly))
    throw UsageError("packing needs -o OUT and either --exe EXE or --archive-only");
  if (options.inputs.empty()) throw UsageError("no files or folders to pack");
  std::vector<uint8_t> file;
  std::vector<fs::path> leftOut = {fs::path(*options.output)};
  if (!options.archiveOnly) {
    file = readWholeFile(*options.exe);
    checkExecutable(*options.exe, file);
    leftOut.emplace_back(*options.exe);
  }
  std::vector<SkippedInput> skipped;
  const std::vector<PackInput> inputs = collectInputs(options.inputs, leftOut, &skipped);
  for (const SkippedInput& entry : skipped)
    std::cerr << program << ": skipped " << entry.path.string() << ": " << entry.reason << "\n";
  if (inputs.empty()) throw std::runtime_error("no files found in the given folders");

  std::vector<PackedMember> members;
  {
    ProgressLine progress;
    members = packInputs(inputs, options.store ? PackMethod::Store : PackMethod::Best,
                         std::max(1u, std::thread::hardware_concurrency()),
                         [&progress](uint64_t done, uint64_t total) { progress.update(done, total); });
  }
  const size_t exeSize = file.size();
  appendArchive(file, members);
  writeExecutable(*options.output, file, !options.archiveOnly);

  uint64_t original = 0;
  size_t compressed = 0;
  for (const PackedMember& member : members) {
    original += member.originalSize;
    compressed += member.flags == ArchiveCompressed;
  }
  std::cout << *options.output << ": " << cli::counted(members.size(), "member") << " (" << compressed << " compressed, "
            << members.size() - compressed << " stored), " << original << " bytes packed into "
            << file.size() - exeSize << "\n";
  return 0;
}

int verify(const std::string& program, const std::string& path) {
  const VerifyReport report = verifyArchive(path);
  const ScriptReport script = verifyScript(path);
  for (const std::string& failure : report.failures) std::cerr << program << ": " << path << ": " << failure << "\n";
  for (const std::string& failure : script.failures) std::cerr << program << ": " << path << ": " << failure << "\n";
  std::cout << path << ": " << cli::counted(report.checked, "member") << " intact";
  if (report.withoutCrc) std::cout << " (" << report.withoutCrc << " without a CRC, checked by decoding only)";
  if (report.skipped) std::cout << ", " << report.skipped << " entries of unknown method skipped";
  if (!report.failures.empty()) std::cout << ", " << report.failures.size() << " FAILED";
  if (!script.present)
    std::cout << "; no demo.run member (it plays the demo.run of the folder it runs in)";
  else if (script.failures.empty())
    std::cout << "; demo.run compiles and "
              << (script.files == 1 ? "the file it names is a member"
                                    : "the " + cli::counted(script.files, "file") + " it names are members");
  else
    std::cout << "; demo.run: " << script.failures.size() << " FAILED";
  std::cout << "\n";
  return report.failures.empty() && script.failures.empty() ? 0 : ExitFailure;
}

int run(const std::string& programName, int argc, char** argv) {
  if (cli::answerHelpOrVersion(programName, usageText(programName), argc, argv)) return 0;
  const Options options = parseOptions(argc, argv);
  const bool packing = options.output || options.exe || options.archiveOnly;
  const int modes = (options.list ? 1 : 0) + (options.verify ? 1 : 0) + (packing ? 1 : 0);
  if (modes != 1) throw UsageError(modes ? "give only one of packing, --list and --verify" : "nothing to do");
  if (options.list) {
    if (!options.inputs.empty()) throw UsageError("--list takes one file");
    listArchive(*options.list, std::cout);
    return 0;
  }
  if (options.verify) {
    if (!options.inputs.empty()) throw UsageError("--verify takes one file");
    return verify(programName, *options.verify);
  }
  return pack(programName, options);
}

}  // namespace
}  // namespace demo

int main(int argc, char** argv) {
  const std::string program = demo::cli::programName(argv[0], "demo-pack");
  try {
    return demo::run(program, argc, argv);
  } catch (const demo::UsageError& error) {
    return demo::cli::usageError(program, error.what());
  } catch (const std::exception& error) {
    std::cerr << program << ": " << error.what() << "\n";
    return demo::ExitFailure;
  }
}
