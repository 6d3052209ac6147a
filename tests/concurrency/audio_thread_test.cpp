// The audio output's start/stop protocol between the main thread and the output thread: modules
// started, stopped and freed thousands of times, often while the thread is rendering, with the clock
// read from the main thread in between. Under ThreadSanitizer any data race ends the run; in the
// other builds the test still checks the clock and that nothing plays after a free.

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "music/audio_output.h"
#include "support/testdata.h"
#include "writers/xm_writer.h"

namespace demo::test {
namespace {

#if defined(__SANITIZE_THREAD__)
constexpr int Cycles = 2000;
#else
constexpr int Cycles = 200;  // each stop waits for the thread's 50 ms poll: the TSan build runs the long version
#endif
// A 4000 Hz device: 80-frame blocks and an 8000-frame ring, so that every start renders its whole
// ring quickly and the thread goes round the ring many times a second.
constexpr int32_t ShortRingRate = 4000;

// A device that plays as fast as it is asked: every position query finds it several blocks further,
// so every poll of the output thread renders a long backlog and the thread is rendering much of the
// time. Called from the output thread (positionBytes) and the main thread (the rest).
class RacingWaveOut final : public WaveOut {
 public:
  explicit RacingWaveOut(uint32_t bytesPerQuery) : step_(bytesPerQuery) {}
  bool open(int, int, int) override { return true; }
  void prepare(const void*, size_t) override {}
  void write() override { position_.store(0); }
  uint32_t positionBytes() override { return position_.fetch_add(step_) + step_; }
  void unprepare() override {}
  void reset() override { position_.store(0); }
  void close() override {}

 private:
  const uint32_t step_;
  std::atomic<uint32_t> position_{0};
};

XmSong busySong() {
  XmSong song;
  song.channels = 8;
  song.speed = 2;
  song.bpm = 200;
  song.addPattern(32);
  XmInstrument instrument;
  XmSample sample;
  for (int i = 0; i < 256; ++i) sample.data.push_back(static_cast<int16_t>((i * 37) % 200 - 100));
  sample.loop = XmLoop::PingPong;
  sample.loopStart = 16;
  sample.loopLength = 200;
  instrument.samples = {sample};
  instrument.volumeEnvelope = {{{0, 64}, {8, 16}, {16, 48}}, true, false, true, 0, 0, 2};
  song.instruments = {instrument};
  for (int row = 0; row < 32; ++row)
    for (int ch = 0; ch < 8; ++ch)
      song.cell(0, row, ch) = {static_cast<uint8_t>(20 + (row * 3 + ch * 7) % 70), 1, 0, 0x4, 0x37};
  return song;
}

// One show's main thread: its own device and audio output, `cycles` times a module loaded, started,
// its clock read, and then freed in one of three ways. Returns at the first failure.
void runShow(const std::string& path, int cycles, int seed) {
  RacingWaveOut wave(30 * 80 * 4);  // 30 blocks of 80 frames per query
  AudioOutput output(wave);
  ASSERT_TRUE(output.openAudioOutput());
  ASSERT_TRUE(output.openDevice(ShortRingRate));
  ASSERT_EQ(output.blockFrames(), 80);
  for (int cycle = seed; cycle < seed + cycles; ++cycle) {
    Module* module = output.loadModule(path.c_str());
    ASSERT_NE(module, nullptr);
    ASSERT_TRUE(output.startModule(module));
    // Read the clock for a while (longer in some cycles), as the frame loop does once per frame. A
    // block's time is read while the thread may be rewriting blocks: the reading must never run
    // backwards (it did when the thread rendered a block before the clock had left it).
    uint32_t last = 0;
    const int reads = (cycle % 17) * 300;
    for (int i = 0; i < reads; ++i) {
      const uint32_t now = output.musicTime();
      ASSERT_GE(now, last) << "cycle " << cycle << ": the clock ran backwards";
      last = now;
      if (i % 100 == 0) std::this_thread::yield();
    }
    switch (cycle % 3) {
      case 0:  // freed at once, usually while the thread renders its first backlog
        output.freeModule(module);
        break;
      case 1:  // stopped, restarted, then freed
        output.stopModule(module);
        ASSERT_TRUE(output.startModule(module));
        output.freeModule(module);
        break;
      default:  // freed after the thread has had time for a few polls
        std::this_thread::sleep_for(std::chrono::milliseconds(cycle % 7));
        output.freeModule(module);
        break;
    }
    ASSERT_EQ(output.musicTime(), 0u) << "cycle " << cycle;
    ASSERT_EQ(output.playingModule(), nullptr);
  }
}

TEST(AudioThread, StartStopAndFreeWhileTheThreadRendersWithTheClockReadMeanwhile) {
  TempDir dir;
  saveXm(dir / "busy.xm", busySong());
  const std::string path = (dir / "busy.xm").string();
  // Every stop waits for the output thread's 50 ms poll, so eight shows run side by side: each has
  // its own output and thread, which also shows that nothing of the protocol is shared between them.
  constexpr int Shows = 8;
  const auto started = std::chrono::steady_clock::now();
  std::vector<std::thread> shows;
  for (int s = 0; s < Shows; ++s) shows.emplace_back(runShow, path, Cycles / Shows, s * (Cycles / Shows));
  for (auto& show : shows) show.join();
  std::printf("%d start/stop cycles in %.1f s\n", Cycles,
              std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
}

}  // namespace
}  // namespace demo::test
