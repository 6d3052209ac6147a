// The XM loader's damage sweep: every damaged copy of each writer-made module and of each real
// module of the shared test data loaded, and a loaded module played for a few dozen ticks with the
// mixer running. A copy loads or is refused (null); loading never reads past the copy.

#include <gtest/gtest.h>

#include "module_from_memory.h"
#include "sweep_inputs.h"

namespace demo::test {
namespace {

// Enough to reach every row-tick and effect-tick path of the first rows; the fuzz target plays
// longer. 64 frames per tick keep the mixer's share of the time small.
constexpr int SweepTicks = 24;
constexpr int32_t SweepFramesPerTick = 64;

void loadAndPlay(DamagedCopy& copy) {
  const auto module = loadModuleFromBytes(std::move(copy.bytes), copy.size);
  if (module) playTicks(*module, SweepTicks, SweepFramesPerTick);
}

class XmSweep : public ::testing::TestWithParam<SweepInput> {};
TEST_P(XmSweep, EveryDamagedCopyLoadsAndPlaysOrIsRefused) { runSweep(GetParam(), loadAndPlay); }
INSTANTIATE_TEST_SUITE_P(Files, XmSweep, ::testing::ValuesIn(sweepInputs(xmFixtures(), "xm", {".xm"})),
                         sweepCaseName);

TEST(XmFixtures, EveryFixtureLoads) {
  for (const Fixture& fixture : xmFixtures()) EXPECT_TRUE(loadModuleFromBytes(fixture.bytes)) << fixture.name;
}

}  // namespace
}  // namespace demo::test
