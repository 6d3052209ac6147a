// xmrender: plays an XM module through the show's own player and mixer into a WAV file. It runs the
// audio output without its thread against the virtual WaveOut, block after block, so the file holds
// exactly the bytes the show would send to the sound device.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "music/audio_output.h"
#include "options.h"
#include "platform/headless/virtual_wave_out.h"
#include "song_loop.h"
#include "writers/wav_writer.h"

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
              WavWriter& wav) {
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
    wav.append(wave.takePlayed());
    played += chunk;
    progress.update(played);
  }
  progress.done();
  return played;
}

int run(const Options& options) {
  VirtualWaveOut wave;
  AudioOutput output(wave);
  output.setThreaded(false);
  if (!output.openAudioOutput()) throw std::runtime_error("cannot open the virtual audio output");
  if (!std::filesystem::is_regular_file(options.input)) throw std::runtime_error("cannot open " + options.input);
  Module* module = output.loadModule(options.input.c_str());
  if (!module) throw std::runtime_error(options.input + " is not a playable XM module");
  if (options.info) printInfo(options.input, *module);
  if (options.output.empty()) {
    output.freeModule(module);
    return 0;
  }
  SongLoop loop;
  output.setTickObserver(&loop);
  output.startModule(module);
  WavWriter wav(options.output, AudioOutput::OutputRate, 2, 16);
  const uint64_t frames = play(output, wave, loop, options, wav);
  wav.finish();
  output.freeModule(module);
  output.closeDevice();
  std::fprintf(stderr, "xmrender: wrote %s, %.3f s%s\n", options.output.c_str(),
               frames / double(AudioOutput::OutputRate),
               !options.seconds && loop.loopFrame() && frames == *loop.loopFrame() ? " (the song loops here)" : "");
  return 0;
}

}  // namespace
}  // namespace demo::xmrender

int main(int argc, char** argv) {
  using namespace demo::xmrender;
  try {
    const Options options = parseOptions(argc, argv);
    if (options.help) {
      std::fputs(usage(), stdout);
      return 0;
    }
    if (options.version) {
      std::printf("xmrender %s\n", DEMO_VERSION);
      return 0;
    }
    return run(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "xmrender: %s\n", e.what());
    if (argc < 2) std::fputs(usage(), stderr);
    return 1;
  }
}
