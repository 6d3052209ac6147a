#include "music/audio_output.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include "archive/reader.h"
#include "music/module_loader.h"
#include "music/player.h"

namespace demo {
namespace {

constexpr int32_t BlockMilliseconds = 20;
constexpr auto PollInterval = std::chrono::milliseconds(5);
constexpr auto StopPollInterval = std::chrono::milliseconds(50);
constexpr size_t BufferAlignment = 16;

}  // namespace

AudioOutput::~AudioOutput() {
  if (playingModule_) stopModule(playingModule_);
  if (deviceOpen_) closeDevice();
}

bool AudioOutput::openAudioOutput() {
  setMusicFileOps(fileOps_, streamOpen, streamClose, streamRead, streamSeek, streamTell);
  return openDevice(OutputRate);
}

bool AudioOutput::openDevice(int32_t rate) {
  if (!fileOps_.complete()) return false;
  closeDevice();
  rate_ = rate;
  if (!waveOut_.open(rate, 2, 16)) return false;
  deviceOpen_ = true;
  blockFrames_ = (rate * BlockMilliseconds / 1000 + 3) & ~3;
  ringFrames_ = (1000 / BlockMilliseconds) * blockFrames_ * 2;
  inverseRate_ = 1.0f / static_cast<float>(rate);
  mixer_.configure(rate);
  return true;
}

void AudioOutput::closeDevice() {
  waveOut_.reset();
  waveOut_.close();
  deviceOpen_ = false;
}

Module* AudioOutput::loadModule(const char* name) { return demo::loadModule(fileOps_, name, &loadProblem_).release(); }

void AudioOutput::allocateBuffers() {
  for (auto& time : blockTime_) time.store(0);
  ring_.assign(static_cast<size_t>(ringFrames_) * 2, 0);
  // Room to move the start up to the next 16-byte boundary.
  blockBufferStorage_.assign(static_cast<size_t>(ringFrames_) * 2 + BufferAlignment / sizeof(float), 0.0f);
  void* start = blockBufferStorage_.data();
  size_t space = blockBufferStorage_.size() * sizeof(float);
  alignedBlockBuffer_ = static_cast<float*>(std::align(BufferAlignment, ringFrames_ * 2 * sizeof(float), start, space));
}

void AudioOutput::releaseBuffers() {
  blockBufferStorage_ = {};
  alignedBlockBuffer_ = nullptr;
  if (ringPrepared_) waveOut_.unprepare();  // the backend lets go of the ring before it is freed
  ringPrepared_ = false;
  ring_ = {};
}

bool AudioOutput::startModule(Module* module) {
  // Without an open device there is no ring size to render or position to follow.
  if (!module || !deviceOpen_) return false;
  stopModule(module);
  resetPlayback(*module, channels_, mixer_);
  playingModule_ = module;
  allocateBuffers();
  waveOut_.prepare(ring_.data(), ring_.size() * sizeof(int16_t));
  ringPrepared_ = true;
  // The device starts at block 0, whose time the clock reports until the first refill. (The clock
  // index restarts with the ring, so a second start keeps clock and device in step.)
  refillIndex_ = 0;
  clockIndex_.store(0);
  framesRendered_ = 0;
  do {
    renderBlock();
  } while (refillIndex_ != 0);
  waveOut_.write();
  stopRequest_.store(false);
  if (threaded_) {
    threadFinished_.store(false);
    // Time-critical priority needs privileges a desktop process lacks here; 5 ms polls against two
    // seconds of buffered sound leave ample margin at normal priority.
    thread_ = std::thread(&AudioOutput::threadMain, this);
  }
  return true;
}

bool AudioOutput::stopModule(Module* module) {
  if (!module) return false;
  stopRequest_.store(true);
  while (rendering_.load()) std::this_thread::yield();
  if (thread_.joinable()) {
    while (!threadFinished_.load()) std::this_thread::sleep_for(StopPollInterval);
    thread_.join();
  }
  releaseBuffers();
  playingModule_ = nullptr;
  // The voices point into the module's samples, which the caller may free next.
  mixer_.resetVoices();
  return true;
}

void AudioOutput::freeModule(Module* module) {
  if (!module) return;
  while (rendering_.load()) std::this_thread::yield();
  stopModule(module);
  delete module;
}

uint32_t AudioOutput::musicTime() {
  if (!playingModule_) return 0;
  // The output thread moves clockIndex on before it renders the block it leaves (poll), so a block's
  // time is stable while clockIndex names it. If the index moved while the time was read, the block
  // may already hold its next time, two seconds on: read again at the new index.
  int32_t index = clockIndex_.load();
  for (;;) {
    const int32_t time = blockTime_[index].load();
    const int32_t now = clockIndex_.load();
    if (now == index) return static_cast<uint32_t>(time);
    index = now;
  }
}

void AudioOutput::threadMain() {
  threadFinished_.store(false);
  while (!stopRequest_.load()) {
    poll();
    std::this_thread::sleep_for(PollInterval);
  }
  threadFinished_.store(true);
}

void AudioOutput::poll() {
  if (!playingModule_) return;
  const uint32_t frames = waveOut_.positionBytes() / BytesPerFrame;
  const int32_t playing = static_cast<int32_t>(frames % static_cast<uint32_t>(ringFrames_)) / blockFrames_;
  // Every block the device has left is rendered now, also when the backlog runs across the end of
  // the ring (the device having wrapped to block 2 or later while refillIndex is still near 99).
  while (refillIndex_ != playing) {
    rendering_.store(true);
    // The block to render is the one the clock names (the two indices move together), and the device
    // has left it: the clock moves on first. Moving it after rendering let a reading in between find
    // the block's new time, two seconds ahead, and the next reading ran backwards.
    clockIndex_.store(clockIndex_.load() == BlockCount - 1 ? 0 : clockIndex_.load() + 1);
    renderBlock();
    rendering_.store(false);
  }
}

void AudioOutput::renderBlock() {
  Module* module = playingModule_;
  if (!module) return;
  const int32_t block = refillIndex_;
  float* buffer = blockBuffer(block);
  std::fill(buffer, buffer + static_cast<size_t>(blockFrames_) * 2, 0.0f);
  int32_t done = 0;
  int32_t left = module->samplesLeftInTick;
  while (done < blockFrames_) {
    if (left == 0) {
      if (tickObserver_) tickObserver_->beforeTick(*module, framesRendered_);
      module->tickHandler(*module, channels_, mixer_);
      left = module->samplesPerTick;  // read after the tick: a tempo change applies to the tick that made it
    }
    const int32_t run = std::min(blockFrames_ - done, left);
    mixer_.mixVoices(buffer + static_cast<size_t>(done) * 2, run);
    // Each run's duration truncated to whole milliseconds, with a single-precision 1/rate: the music
    // clock runs slow on purpose (882 frames count 19 ms), and script times are written in it.
    module->timeCounter += static_cast<int32_t>(run * static_cast<double>(inverseRate_) * 1000.0);
    done += run;
    left -= run;
    framesRendered_ += static_cast<uint64_t>(run);
  }
  blockTime_[block].store(module->timeCounter);
  module->samplesLeftInTick = left;
  convertBlock(ring_.data() + static_cast<size_t>(block) * blockFrames_ * 2, buffer, blockFrames_);
  refillIndex_ = block + 1 == BlockCount ? 0 : block + 1;
}

}  // namespace demo
