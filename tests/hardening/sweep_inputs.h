#pragma once
// The files one loader's sweep runs over, each split into shards (one test case per shard): the
// writer-made fixtures and the real files of the shared test data. When that folder is absent the
// list holds a single entry whose test case skips, saying so.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/reader.h"
#include "damage_sweep.h"
#include "loader_fixtures.h"

namespace demo::test {

struct SweepInput {
  std::string name;             // the file's name
  std::filesystem::path path;   // a shared test file; empty for a fixture
  std::vector<uint8_t> bytes;   // a fixture's bytes
  unsigned shard = 0, shards = 1;
  bool testdataAbsent = false;

  // The file's bytes (reading a shared file).
  std::vector<uint8_t> load() const;
};

void PrintTo(const SweepInput& input, std::ostream* out);
std::string sweepCaseName(const ::testing::TestParamInfo<SweepInput>& info);

// The fixtures, each in its shards, then the shared files below testdataDir()/sub with one of the
// extensions (or the absent-folder entry when sub is not empty and the folder is missing).
std::vector<SweepInput> sweepInputs(const std::vector<Fixture>& fixtures, const std::string& sub = "",
                                    const std::vector<std::string>& extensions = {});

// Runs the sweep of one input through the load function, skipping when the shared data is absent,
// and reports the number of loads as a test property.
void runSweep(const SweepInput& input, const LoadFunction& load);

// A Reader that takes over the copy's buffer.
void adopt(Reader& reader, DamagedCopy& copy);

// The input and damaged copy being loaded ("logo.tga, cut at 17"), for failure messages.
std::string currentDamage();

}  // namespace demo::test
