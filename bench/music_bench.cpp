// Seconds of music rendered per CPU second through the whole block path (player ticks, mixer runs,
// convertBlock), for every XM module of the shared test data and a 32-channel module made with the
// writer, the latter also through each of the mixer's loops. The counter "x_realtime" is the figure:
// how many times faster than real time.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "music/audio_output.h"
#include "silent_wave_out.h"
#include "support/testdata.h"
#include "writers/xm_writer.h"

namespace demo {
namespace {

using bench::SilentWaveOut;

// 32 channels sounding at once: looping 16-bit samples, notes spread over four octaves and the
// stereo field, volume slides keeping the gain ramps busy.
XmSong busySong() {
  XmSong song;
  song.channels = 32;
  song.speed = 4;
  song.bpm = 140;
  song.addPattern(64);
  XmInstrument in;
  XmSample s;
  s.bits = 16;
  for (int i = 0; i < 2000; ++i) s.data.push_back(static_cast<int16_t>(8000 * std::sin(i * 0.0314) + 500 * (i % 7)));
  s.loop = XmLoop::Forward;
  s.loopStart = 200;
  s.loopLength = 1800;
  in.samples.push_back(s);
  s.loop = XmLoop::PingPong;
  in.samples.push_back(s);
  for (int n = 48; n < 96; ++n) in.sampleMap[n] = 1;
  song.instruments.push_back(in);
  for (int row = 0; row < 64; ++row) {
    for (int ch = 0; ch < 32; ++ch) {
      XmCell& c = song.cell(0, row, ch);
      if ((row + ch) % 16 == 0) c = {static_cast<uint8_t>(25 + (ch * 7 + row) % 48), 1, 0, 0x8,
                                     static_cast<uint8_t>(ch * 8)};
      else if (row % 4 == 2) c = {0, 0, 0, 0xA, static_cast<uint8_t>(ch % 2 ? 0x10 : 0x01)};
    }
  }
  return song;
}

void renderBlocks(benchmark::State& state, const std::string& path, MixPath mixPath) {
  SilentWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  if (!output.openAudioOutput()) {
    state.SkipWithError("cannot open the virtual output");
    return;
  }
  Module* module = output.loadModule(path.c_str());
  if (!module) {
    state.SkipWithError(("cannot load " + path).c_str());
    return;
  }
  output.mixer().setPath(mixPath);
  output.startModule(module);
  int64_t frames = 0;
  for (auto _ : state) {
    output.renderBlock();
    frames += output.blockFrames();
  }
  state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(frames) / output.rate(),
                                                    benchmark::Counter::kIsRate);
  output.freeModule(module);
}

bool registerModules() {
  static test::TempDir dir;  // holds the generated module for the whole run
  const auto busy = dir / "busy32.xm";
  saveXm(busy, busySong());
  const MixPath fastest = Mixer::fastestPath();
  benchmark::RegisterBenchmark("renderBlock/generated_32_channels", renderBlocks, busy.string(), fastest);
  for (const auto& file : test::testdataFiles("xm", {".xm"})) {
    benchmark::RegisterBenchmark(("renderBlock/" + file.stem().string()).c_str(), renderBlocks, file.string(),
                                 fastest);
  }
  // The same 32 channels through each of the mixer's loops (all give the same bits).
  const std::pair<MixPath, const char*> paths[] = {
      {MixPath::Scalar, "scalar"}, {MixPath::Sse2, "sse2"}, {MixPath::Avx2, "avx2"}};
  for (const auto& [mixPath, name] : paths) {
    if (!Mixer::runs(mixPath)) continue;
    benchmark::RegisterBenchmark((std::string("renderBlock/generated_32_channels/") + name).c_str(), renderBlocks,
                                 busy.string(), mixPath);
  }
  return true;
}

const bool registered = registerModules();

}  // namespace
}  // namespace demo
