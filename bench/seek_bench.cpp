// Starting the showcase tune part-way: the song run forward without output to the target, then the
// ring rendered as every start renders it. The figure that matters is seek/showcase/60000 (the
// editing keys and --from wait for it); seek/showcase/0 is a plain start, for comparison.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "music/audio_output.h"
#include "silent_wave_out.h"
#include "support/testdata.h"

namespace demo {
namespace {

void seek(benchmark::State& state, const std::string& path) {
  bench::SilentWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  Module* module = output.openAudioOutput() ? output.loadModule(path.c_str()) : nullptr;
  if (!module) {
    state.SkipWithError(("cannot load " + path).c_str());
    return;
  }
  const auto target = static_cast<uint32_t>(state.range(0));
  for (auto _ : state) output.startModuleAt(module, target);
  output.freeModule(module);
}

bool registerSeeks() {
  const std::filesystem::path tune = SHOWCASE_TUNE;
  if (std::filesystem::exists(tune))
    benchmark::RegisterBenchmark("seek/showcase", seek, tune.string())
        ->Arg(0)->Arg(60'000)->Arg(300'000)->Unit(benchmark::kMillisecond);
  for (const auto& file : test::testdataFiles("xm", {".xm"}))
    benchmark::RegisterBenchmark(("seek/" + file.stem().string()).c_str(), seek, file.string())
        ->Arg(60'000)->Unit(benchmark::kMillisecond);
  return true;
}

const bool registered = registerSeeks();

}  // namespace
}  // namespace demo
