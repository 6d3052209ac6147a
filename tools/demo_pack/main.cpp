// demo-pack: writes a show's files as the data archive behind the engine's executable, and lists or
// checks such an archive.

#include <algorithm>
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

#include "demo_pack/pack_inputs.h"
#include "demo_pack/pack_inspect.h"
#include "demo_pack/pack_job.h"
#include "demo_pack/pack_output.h"
#include "demo_pack/pack_writer.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

constexpr const char* usageText =
    "Usage: demo-pack -o OUT --exe EXE [--store] FILE|DIR...\n"
    "       demo-pack -o OUT --archive-only [--store] FILE|DIR...\n"
    "       demo-pack --list FILE\n"
    "       demo-pack --verify FILE\n"
    "\n"
    "Writes EXE followed by a data archive of the given files to OUT. A FILE becomes a member named by\n"
    "its file name; the files below a DIR become members named by their path relative to DIR, with\n"
    "backslashes between folders. Each member is NRV2B-compressed where that makes it smaller and\n"
    "carries the CRC-32 of its bytes. OUT is replaced only once it is complete, and is executable.\n"
    "\n"
    "  -o, --output OUT  the file to write\n"
    "  --exe EXE         the executable the archive is appended to (one without an archive)\n"
    "  --archive-only    write the archive alone, nothing before it (what the browser page plays)\n"
    "  --store           store every member as it is, without compression\n"
    "  --list FILE       print FILE's archive directory: stored and original size, method, CRC, name\n"
    "  --verify FILE     open every member of FILE as the show does and check it; exit 1 on any failure\n"
    "  -h, --help        show this text\n"
    "  --version         show the version\n";

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
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
      options.inputs.emplace_back(argument);
      continue;
    }
    std::optional<std::string> inlineValue;
    if (const size_t equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
      inlineValue = argument.substr(equals + 1);
      argument.resize(equals);
    }
    auto value = [&]() -> std::string {
      if (inlineValue) return *inlineValue;
      if (i + 1 >= argc) throw UsageError(argument + " needs a value");
      return argv[++i];
    };
    if (argument == "--") optionsEnded = true;
    else if (argument == "-o" || argument == "--output") options.output = value();
    else if (argument == "--exe") options.exe = value();
    else if (argument == "--list") options.list = value();
    else if (argument == "--verify") options.verify = value();
    else if (argument == "--store" && !inlineValue) options.store = true;
    else if (argument == "--archive-only" && !inlineValue) options.archiveOnly = true;
    else throw UsageError("unknown option " + std::string(argv[i]));
  }
  return options;
}

bool endsWithMagic(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= 4 && std::memcmp(bytes.data() + bytes.size() - 4, ArchiveMagic, 4) == 0;
}

int pack(const Options& options) {
  if (options.archiveOnly && options.exe) throw UsageError("give either --exe EXE or --archive-only, not both");
  if (!options.output || (!options.exe && !options.archiveOnly))
    throw UsageError("packing needs -o OUT and either --exe EXE or --archive-only");
  if (options.inputs.empty()) throw UsageError("no files or folders to pack");
  std::vector<uint8_t> file = options.archiveOnly ? std::vector<uint8_t>() : readWholeFile(*options.exe);
  // A second archive behind the first would leave the first as dead weight nobody can reach.
  if (endsWithMagic(file)) throw std::runtime_error(*options.exe + ": already carries an archive; give the executable as built");
  const std::vector<PackInput> inputs = collectInputs(options.inputs, {fs::path(*options.output)});
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
  std::cout << *options.output << ": " << members.size() << " members (" << compressed << " compressed, "
            << members.size() - compressed << " stored), " << original << " bytes packed into "
            << file.size() - exeSize << "\n";
  return 0;
}

int verify(const std::string& path) {
  const VerifyReport report = verifyArchive(path);
  for (const std::string& failure : report.failures) std::cerr << "demo-pack: " << path << ": " << failure << "\n";
  std::cout << path << ": " << report.checked << " members intact";
  if (report.withoutCrc) std::cout << " (" << report.withoutCrc << " without a CRC, checked by decoding only)";
  if (report.skipped) std::cout << ", " << report.skipped << " entries of unknown method skipped";
  if (!report.failures.empty()) std::cout << ", " << report.failures.size() << " FAILED";
  std::cout << "\n";
  return report.failures.empty() ? 0 : ExitFailure;
}

int run(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "-h") || !std::strcmp(argv[i], "--help")) {
      std::cout << usageText;
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      std::cout << "demo-pack " << DEMO_VERSION << "\n";
      return 0;
    }
  }
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
    return verify(*options.verify);
  }
  return pack(options);
}

}  // namespace
}  // namespace demo

int main(int argc, char** argv) {
  try {
    return demo::run(argc, argv);
  } catch (const demo::UsageError& error) {
    std::cerr << "demo-pack: " << error.what() << "\n(demo-pack --help shows the usage)\n";
    return demo::ExitUsage;
  } catch (const std::exception& error) {
    std::cerr << "demo-pack: " << error.what() << "\n";
    return demo::ExitFailure;
  }
}
