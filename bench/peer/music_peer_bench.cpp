// renderBlock against libxmp (linear interpolation, 44100 Hz, 16-bit stereo), one core, side by
// side: every module of the shared test data is rendered for the same number of frames by both, in
// alternating rounds, and each side's fastest round counts. Prints the seconds each took, the ratio
// (libxmp's time over ours: how many times faster we are) per file and the median ratio.
//
//   music_peer_bench [--seconds S] [--rounds N] [FILE.xm ...]   (default: 60 s, 5 rounds, testdata/xm)

#include <xmp.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "music/audio_output.h"
#include "../silent_wave_out.h"
#include "support/testdata.h"

namespace demo {
namespace {

constexpr int Rate = AudioOutput::OutputRate;

using bench::SilentWaveOut;

// CPU time of this thread: what the other processes on a shared machine take is not counted.
double threadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Renders frames from the start of the song: startModule's first ring, then block after block.
class OurPlayer {
 public:
  explicit OurPlayer(const std::string& path) : output_(wave_) {
    output_.setThreaded(false);
    if (output_.openAudioOutput()) module_ = output_.loadModule(path.c_str());
  }
  ~OurPlayer() {
    if (module_) output_.freeModule(module_);
  }
  bool ok() const { return module_ != nullptr; }
  double render(int64_t frames) {
    const double start = threadSeconds();
    output_.startModule(module_);
    for (int64_t done = static_cast<int64_t>(output_.ringFrames()); done < frames; done += output_.blockFrames()) {
      output_.renderBlock();
    }
    const double seconds = threadSeconds() - start;
    output_.stopModule(module_);
    return seconds;
  }
  int32_t blockFrames() const { return output_.blockFrames(); }

 private:
  SilentWaveOut wave_;
  AudioOutput output_;
  Module* module_ = nullptr;
};

class PeerPlayer {
 public:
  explicit PeerPlayer(const std::string& path) : context_(xmp_create_context()) {
    loaded_ = xmp_load_module(context_, const_cast<char*>(path.c_str())) == 0;
  }
  ~PeerPlayer() {
    if (loaded_) xmp_release_module(context_);
    xmp_free_context(context_);
  }
  bool ok() const { return loaded_; }
  double render(int64_t frames, int32_t blockFrames) {
    std::vector<int16_t> buffer(static_cast<size_t>(blockFrames) * 2);
    const double start = threadSeconds();
    xmp_start_player(context_, Rate, 0);
    xmp_set_player(context_, XMP_PLAYER_INTERP, XMP_INTERP_LINEAR);
    for (int64_t done = 0; done < frames; done += blockFrames) {
      xmp_play_buffer(context_, buffer.data(), static_cast<int>(buffer.size() * sizeof(int16_t)), 0);
    }
    const double seconds = threadSeconds() - start;
    xmp_end_player(context_);
    return seconds;
  }

 private:
  xmp_context context_;
  bool loaded_ = false;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int run(int argc, char** argv) {
  double seconds = 60;
  int rounds = 5;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--seconds" && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (arg == "--rounds" && i + 1 < argc) {
      rounds = std::max(1, std::atoi(argv[++i]));
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty()) {
    for (const auto& file : test::testdataFiles("xm", {".xm"})) files.push_back(file.string());
  }
  if (files.empty()) {
    std::fprintf(stderr, "music_peer_bench: no modules given and none found in %s/xm\n",
                 test::testdataDir().string().c_str());
    return 1;
  }
  const auto frames = static_cast<int64_t>(seconds * Rate);
  std::printf("%.0f s of each module, best of %d rounds, CPU seconds of one thread\n", seconds, rounds);
  std::printf("%-48s %9s %9s %7s\n", "module", "ours", "libxmp", "ratio");
  std::vector<double> ratios;
  for (const std::string& file : files) {
    OurPlayer ours(file);
    PeerPlayer peer(file);
    const std::string name = std::filesystem::path(file).filename().string();
    if (!ours.ok() || !peer.ok()) {
      std::printf("%-48s not loaded by %s\n", name.c_str(), ours.ok() ? "libxmp" : "us");
      continue;
    }
    double best = 1e30, bestPeer = 1e30;
    for (int round = 0; round < rounds; ++round) {
      // Alternating who goes first keeps a warm cache or a busy neighbour from favouring one side.
      if (round % 2 == 0) {
        best = std::min(best, ours.render(frames));
        bestPeer = std::min(bestPeer, peer.render(frames, ours.blockFrames()));
      } else {
        bestPeer = std::min(bestPeer, peer.render(frames, ours.blockFrames()));
        best = std::min(best, ours.render(frames));
      }
    }
    const double ratio = bestPeer / best;
    ratios.push_back(ratio);
    std::printf("%-48s %9.4f %9.4f %7.2f\n", name.c_str(), best, bestPeer, ratio);
    std::fflush(stdout);
  }
  if (ratios.empty()) return 1;
  std::printf("median ratio %.2f over %zu modules\n", median(ratios), ratios.size());
  return 0;
}

}  // namespace
}  // namespace demo

int main(int argc, char** argv) { return demo::run(argc, argv); }
