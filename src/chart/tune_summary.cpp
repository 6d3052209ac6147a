#include "chart/tune_summary.h"

#include <cmath>
#include <cstring>

#include "music/audio_output.h"
#include "platform/headless/virtual_wave_out.h"
#include "script/file_problems.h"

namespace demo {
namespace {

// Notes each change of song position at the row tick that makes it.
class PositionLog : public TickObserver {
 public:
  explicit PositionLog(TuneSummary& summary) : summary_(summary) {}
  void beforeTick(const Module& module, uint64_t) override {
    if (module.tick != 0) return;
    // The row tick applies a jump or the move to the next position before it plays the row.
    const int32_t order = module.nextOrder >= 0 ? module.nextOrder : module.order;
    if (order == last_ || order < 0 || order >= module.songLength) return;
    last_ = order;
    summary_.positions.push_back({order, module.orderList[static_cast<size_t>(order)],
                                  static_cast<uint32_t>(module.timeCounter)});
  }

 private:
  TuneSummary& summary_;
  int32_t last_ = -1;
};

float rms(const std::vector<uint8_t>& bytes) {
  const size_t samples = bytes.size() / 2;
  if (samples == 0) return 0;
  double sum = 0;
  for (size_t i = 0; i < samples; ++i) {
    int16_t sample;
    std::memcpy(&sample, bytes.data() + 2 * i, 2);
    sum += double(sample) * sample;
  }
  return static_cast<float>(std::sqrt(sum / double(samples)) / 32768.0);
}

}  // namespace

bool summariseTune(const char* file, uint32_t until, TuneSummary& summary, std::string& error) {
  summary = {};
  VirtualWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  if (!output.openAudioOutput()) {
    error = "no virtual sound output";
    return false;
  }
  Module* module = output.loadModule(file);
  if (!module) {
    error = moduleProblem(file, output.loadProblem());
    return false;
  }
  PositionLog log(summary);
  output.setTickObserver(&log);
  output.startModule(module);
  // The ring is rendered ahead of what plays: block k's sound comes out at the k-th advance, and its
  // time is the one recorded when it was rendered.
  std::vector<int32_t> blockTimes;
  for (int32_t b = 0; b < AudioOutput::BlockCount; ++b) blockTimes.push_back(output.blockTime(b));
  const auto blockFrames = static_cast<uint32_t>(output.blockFrames());
  std::vector<uint8_t> group;
  uint32_t groupStart = 0;
  for (size_t block = 0;; ++block) {
    const uint32_t start = block == 0 ? 0 : static_cast<uint32_t>(blockTimes[block - 1]);
    if (start >= until) break;
    if (block % TuneSummary::LoudnessBlocks == 0) groupStart = start;
    wave.advance(blockFrames);
    output.poll();
    const int32_t rendered = output.refillIndex() == 0 ? AudioOutput::BlockCount - 1 : output.refillIndex() - 1;
    blockTimes.push_back(output.blockTime(rendered));
    const std::vector<uint8_t> played = wave.takePlayed();
    group.insert(group.end(), played.begin(), played.end());
    if ((block + 1) % TuneSummary::LoudnessBlocks == 0) {
      summary.loudness.push_back({groupStart, rms(group)});
      group.clear();
    }
    summary.length = static_cast<uint32_t>(blockTimes[block]);
  }
  // The log saw ticks rendered ahead of what played: keep what falls inside.
  while (!summary.positions.empty() && summary.positions.back().start >= summary.length) summary.positions.pop_back();
  output.setTickObserver(nullptr);
  output.freeModule(module);
  return true;
}

}  // namespace demo
