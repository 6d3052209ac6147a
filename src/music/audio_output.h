#pragma once
// The audio output: one looping ring of 100 blocks of 16-bit stereo PCM queued on the WaveOut, an
// output thread that re-renders each block shortly after the device has left it, and the show's
// clock, which is the music time recorded at the end of the block the device is playing.
//
// Threads: the starting thread renders the whole ring, then only the output thread runs the player
// and mixer until stopModule. Three flags coordinate start and stop without locks: stopRequest
// (main -> thread), rendering and threadFinished (thread -> main).
//
// Capture runs without the thread (setThreaded(false)): the owner advances a virtual WaveOut and
// calls poll(), which is exactly one pass of the thread's loop.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "music/channel.h"
#include "music/mixer.h"
#include "music/module.h"
#include "music/music_file_ops.h"
#include "music/music_player.h"
#include "platform/wave_out.h"

namespace demo {

// Sees every tick just before it is played (xmrender finds the song's loop with it).
class TickObserver {
 public:
  virtual ~TickObserver() = default;
  // frame: output frames rendered since startModule, i.e. where this tick begins.
  virtual void beforeTick(const Module& module, uint64_t frame) = 0;
};

class AudioOutput final : public MusicPlayer {
 public:
  static constexpr int32_t OutputRate = 44100;
  static constexpr int32_t BlockCount = 100;
  static constexpr int32_t BytesPerFrame = 4;  // 16-bit stereo

  explicit AudioOutput(WaveOut& waveOut) : waveOut_(waveOut) {}
  ~AudioOutput() override;
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // With false, startModule creates no thread; the owner calls poll() instead. Set before starting.
  void setThreaded(bool threaded) { threaded_ = threaded; }
  void setTickObserver(TickObserver* observer) { tickObserver_ = observer; }

  // MusicPlayer.
  bool openAudioOutput() override;
  Module* loadModule(const char* name) override;
  ModuleProblem loadProblem() const override { return loadProblem_; }
  bool startModule(Module* module) override;
  void freeModule(Module* module) override;
  void closeDevice() override;
  uint32_t musicTime() override;

  // Needs the file operations registered; closes, then opens the device at the rate and sizes the
  // blocks. Zeroes the voices.
  bool openDevice(int32_t rate);
  // Stops the thread (if any) and releases the ring. False only for a null module.
  bool stopModule(Module* module);
  // Renders the block at refillIndex: ticks at every tick boundary, mixing in between.
  void renderBlock();
  // One pass of the output thread: read the device position, render every block the device has
  // left, moving clockIndex along.
  void poll();

  int32_t rate() const { return rate_; }
  int32_t blockFrames() const { return blockFrames_; }
  int32_t ringFrames() const { return ringFrames_; }
  int32_t refillIndex() const { return refillIndex_; }
  int32_t clockIndex() const { return clockIndex_.load(); }
  int32_t blockTime(int32_t block) const { return blockTime_[block].load(); }
  const Module* playingModule() const { return playingModule_; }
  const MusicFileOps& fileOps() const { return fileOps_; }
  Mixer& mixer() { return mixer_; }
  Channels& channels() { return channels_; }

 private:
  void threadMain();
  void allocateBuffers();
  void releaseBuffers();
  float* blockBuffer(int32_t block) { return alignedBlockBuffer_ + static_cast<size_t>(block) * blockFrames_ * 2; }

  WaveOut& waveOut_;
  MusicFileOps fileOps_;
  ModuleProblem loadProblem_ = ModuleProblem::None;
  Mixer mixer_;
  Channels channels_{};
  bool threaded_ = true;
  bool deviceOpen_ = false;
  TickObserver* tickObserver_ = nullptr;

  int32_t rate_ = OutputRate;
  int32_t blockFrames_ = 0;
  int32_t ringFrames_ = 0;
  float inverseRate_ = 0;

  std::vector<int16_t> ring_;
  bool ringPrepared_ = false;
  std::vector<float> blockBufferStorage_;
  float* alignedBlockBuffer_ = nullptr;
  std::array<std::atomic<int32_t>, BlockCount> blockTime_{};
  int32_t refillIndex_ = 0;
  std::atomic<int32_t> clockIndex_{0};
  Module* playingModule_ = nullptr;
  uint64_t framesRendered_ = 0;

  std::atomic<bool> stopRequest_{false};
  std::atomic<bool> rendering_{false};
  std::atomic<bool> threadFinished_{true};
  std::thread thread_;
};

}  // namespace demo
