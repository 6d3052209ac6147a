// The script compiler's damage sweep: every damaged copy of each fixture script compiled into a
// fresh show. A copy compiles or fails with a line number inside the file.

#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "script/compiler.h"
#include "support/show_harness.h"
#include "sweep_inputs.h"

namespace demo::test {
namespace {

void compileCopy(DamagedCopy& copy) {
  const uint32_t size = copy.size;
  ShowHarness h;
  Reader reader;
  adopt(reader, copy);
  if (compileScript(h.show, reader)) return;
  // Every line holds at least one byte: a file of n bytes has at most n lines.
  EXPECT_GE(h.compiler().lineNumber, 1) << currentDamage();
  EXPECT_LE(h.compiler().lineNumber, static_cast<int32_t>(size)) << currentDamage();
  EXPECT_TRUE(h.show.timeline.program().empty()) << currentDamage();
}

class ScriptSweep : public ::testing::TestWithParam<SweepInput> {};
TEST_P(ScriptSweep, EveryDamagedCopyCompilesOrNamesItsLine) { runSweep(GetParam(), compileCopy); }
INSTANTIATE_TEST_SUITE_P(Fixtures, ScriptSweep, ::testing::ValuesIn(sweepInputs(scriptFixtures())), sweepCaseName);

TEST(ScriptFixtures, EveryFixtureCompiles) {
  for (const Fixture& fixture : scriptFixtures()) {
    ShowHarness h;
    EXPECT_TRUE(h.compile(std::string(fixture.bytes.begin(), fixture.bytes.end())))
        << fixture.name << ":" << h.compiler().lineNumber << ": " << h.compiler().detail;
  }
}

}  // namespace
}  // namespace demo::test
