// xmrender: plays an XM module through the show's own player and mixer into a WAV file. It runs the
// audio output without its thread against the virtual WaveOut, block after block, so the file holds
// exactly the bytes the show would send to the sound device.

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "archive/read_status.h"
#include "archive/reader.h"
#include "capture/wav_file.h"
#include "cli/program.h"
#include "music/audio_output.h"
#include "options.h"
#include "platform/headless/virtual_wave_out.h"
#include "song_loop.h"

namespace demo::xmrender {
namespace {

using Clock = std::chrono::steady_clock;

void printInfo(const std::string& name, const Module& m) {
  int samples = 0;
  for (int i = 0; i < m.instrumentCount; ++i) samples += m.instruments[i].sampleCount;
  std::printf("%s\n", name.c_str());
  std::printf("  channels      %d\n", m.channelCount);
  std::printf("  frequencies   %s\n", m.linearFrequencies() ? "linear" : "Amiga periods");
  std::printf("  song length   %d (restart at %d)\n", m.songLength, m.restartPosition);
  std::printf("  orders       ");
  for (int i = 0; i < m.songLength; ++i) std::printf(" %d", m.orderList[i]);
  std::printf("\n  patterns      %d (%d played)\n", m.patternSlots, m.usedPatterns);
  std::printf("  instruments   %d\n", m.instrumentCount);
  std::printf("  samples       %d\n", samples);
  std::printf("  speed         %d\n", m.defaultSpeed);
  std::printf("  BPM           %d\n", m.defaultBpm);
}

// Shows how far a long render is, at most a few times a second.
class Progress {
 public:
  void update(uint64_t frames) {
    const auto now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(250)) return;
    last_ = now;
    shown_ = true;
    std::fprintf(stderr, "\rxmrender: %.1f s of music rendered", frames / double(AudioOutput::OutputRate));
  }
  void done() {
    if (shown_) std::fprintf(stderr, "\n");
  }

 private:
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_{};
  bool shown_ = false;
};

// Plays the started module into the WAV file until the frame limit or, without --seconds, the loop.
uint64_t play(AudioOutput& output, VirtualWaveOut& wave, const SongLoop& loop, const Options& options,
              WavFile& wav) {
  const double seconds = options.seconds.value_or(MaxSeconds);
  const auto limit = static_cast<uint64_t>(seconds * AudioOutput::OutputRate + 0.5);
  Progress progress;
  uint64_t played = 0;
  for (;;) {
    uint64_t end = limit;
    if (!options.seconds && loop.loopFrame() && *loop.loopFrame() < end) end = *loop.loopFrame();
    if (played >= end) break;
    const auto chunk = static_cast<uint32_t>(std::min<uint64_t>(output.blockFrames(), end - played));
    wave.advance(chunk);
    output.poll();
    const std::vector<uint8_t> bytes = wave.takePlayed();
    if (!wav.append(bytes.data(), bytes.size())) throw std::runtime_error(wav.error());
    played += chunk;
    progress.update(played);
  }
  progress.done();
  return played;
}

// Why the module cannot be loaded, as the show would say it.
std::string loadFailure(const std::string& input, ModuleProblem problem) {
  Reader reader;
  const int status = reader.open(input.c_str());
  if (status != ReadOk) return input + ": " + readStatusText(status);
  return input + ": " + describeModuleProblem(problem);
}

int run(const Options& options) {
  VirtualWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  if (!output.openAudioOutput()) throw std::runtime_error("cannot open the virtual audio output");
  Module* module = output.loadModule(options.input.c_str());
  if (!module) throw std::runtime_error(loadFailure(options.input, output.loadProblem()));
  if (options.info) printInfo(options.input, *module);
  if (options.output.empty()) {
    output.freeModule(module);
    return 0;
  }
  SongLoop loop;
  output.setTickObserver(&loop);
  output.startModule(module);
  // WavFile writes beside OUT and renames over it when complete: a failure never destroys what was
  // there, and its messages name OUT, not the temporary file.
  WavFile wav;
  if (!wav.create(options.output, AudioOutput::OutputRate, 2, 16)) throw std::runtime_error(wav.error());
  const uint64_t frames = play(output, wave, loop, options, wav);
  output.freeModule(module);
  output.closeDevice();
  if (!wav.finish()) throw std::runtime_error(wav.error());
  std::fprintf(stderr, "xmrender: wrote %s, %.3f s%s\n", options.output.c_str(),
               frames / double(AudioOutput::OutputRate),
               !options.seconds && loop.loopFrame() && frames == *loop.loopFrame() ? " (the song loops here)" : "");
  return 0;
}

}  // namespace
}  // namespace demo::xmrender

int main(int argc, char** argv) {
  using namespace demo;
  using namespace demo::xmrender;
  const std::string program = cli::programName(argv[0], "xmrender");
  if (cli::answerHelpOrVersion(program, usage(program), argc, argv)) return 0;
  Options options;
  std::string error;
  if (!parseOptions(argc, argv, options, error)) return cli::usageError(program, error);
  try {
    return run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), e.what());
    return 1;
  }
}
