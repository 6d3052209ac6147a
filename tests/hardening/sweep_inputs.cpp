#include "sweep_inputs.h"

#include <cctype>
#include <chrono>
#include <cstdio>

#include "damage_sweep.h"
#include "support/testdata.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace demo::test {

namespace {

// Which damaged copy is loading, for a sanitizer report (which ends the process before any test
// output) and for the failure messages of the load functions.
char currentInput[256];
char currentCopy[64];

#if defined(__SANITIZE_ADDRESS__)
void nameTheCopyOnDeath() { std::fprintf(stderr, "\nsweep: the copy being loaded was %s, %s\n", currentInput, currentCopy); }
#endif

}  // namespace

std::string currentDamage() { return std::string(currentInput) + ", " + currentCopy; }

std::vector<uint8_t> SweepInput::load() const { return path.empty() ? bytes : readFile(path); }

void PrintTo(const SweepInput& input, std::ostream* out) {
  *out << input.name << " shard " << input.shard + 1 << "/" << input.shards;
}

std::string sweepCaseName(const ::testing::TestParamInfo<SweepInput>& info) {
  std::string name;
  for (char c : info.param.name) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  if (info.param.shards > 1) name += "_" + std::to_string(info.param.shard + 1) + "of" + std::to_string(info.param.shards);
  return name;
}

std::vector<SweepInput> sweepInputs(const std::vector<Fixture>& fixtures, const std::string& sub,
                                    const std::vector<std::string>& extensions) {
  std::vector<SweepInput> out;
  const auto addShards = [&](SweepInput input, uint64_t size) {
    input.shards = shardsFor(size);
    for (unsigned s = 0; s < input.shards; ++s) {
      input.shard = s;
      out.push_back(input);
    }
  };
  for (const Fixture& fixture : fixtures) {
    SweepInput input;
    input.name = fixture.name;
    input.bytes = fixture.bytes;
    addShards(input, fixture.bytes.size());
  }
  if (sub.empty()) return out;
  if (!std::filesystem::is_directory(testdataDir() / sub)) {
    SweepInput absent;
    absent.name = "shared_" + sub + "_absent";
    absent.testdataAbsent = true;
    out.push_back(absent);
    return out;
  }
  for (const auto& path : testdataFiles(sub, extensions)) {
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(path, error);
    SweepInput input;
    input.name = path.filename().string();
    input.path = path;
    addShards(input, error ? 0 : size);
  }
  return out;
}

void adopt(Reader& reader, DamagedCopy& copy) { reader.assign(std::move(copy.bytes), copy.size); }

void runSweep(const SweepInput& input, const LoadFunction& load) {
  if (input.testdataAbsent) GTEST_SKIP() << "shared test data not found at " << testdataDir() << " (set DEMO_TESTDATA)";
  const std::vector<uint8_t> file = input.load();
  std::snprintf(currentInput, sizeof currentInput, "%s", input.name.c_str());
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_set_death_callback(nameTheCopyOnDeath);
#endif
  const auto started = std::chrono::steady_clock::now();
  const uint64_t loads = sweepDamages(file, load, input.shard, input.shards, [](const Damage& damage) {
    std::snprintf(currentCopy, sizeof currentCopy, "%s", damage.describe().c_str());
  });
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  ::testing::Test::RecordProperty("loads", std::to_string(loads));
  std::printf("%s: %llu loads in %.2f s\n", input.name.c_str(), static_cast<unsigned long long>(loads), seconds);
}

}  // namespace demo::test
