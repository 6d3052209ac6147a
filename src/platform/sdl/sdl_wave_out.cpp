#include "platform/sdl/sdl_wave_out.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace demo {
namespace {

// Holds the device lock for a scope: the callback is not running while it is held.
class DeviceLock {
 public:
  explicit DeviceLock(uint32_t device) : device_(device) {
    if (device_) SDL_LockAudioDevice(device_);
  }
  ~DeviceLock() {
    if (device_) SDL_UnlockAudioDevice(device_);
  }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  uint32_t device_;
};

}  // namespace

SdlWaveOut::~SdlWaveOut() { close(); }

bool SdlWaveOut::open(int rate, int channels, int bitsPerSample) {
  close();
  if (bitsPerSample != 16 || channels <= 0 || rate <= 0) return false;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_S16SYS;
  want.channels = static_cast<Uint8>(channels);
  want.samples = bufferFrames_;
  want.callback = callback;
  want.userdata = this;
  SDL_AudioSpec have{};
  // No changes allowed: SDL converts to whatever the hardware wants behind the callback.
  device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device_ == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  latencyBytes_ = static_cast<uint32_t>(have.samples) * static_cast<uint32_t>(channels) * 2;
  return true;
}

void SdlWaveOut::prepare(const void* ring, size_t bytes) {
  DeviceLock lock(device_);
  playing_ = false;  // a new ring plays from its start once written
  playOffset_ = 0;
  ring_ = static_cast<const uint8_t*>(ring);
  ringBytes_ = bytes;
}

void SdlWaveOut::write() {
  if (!device_) return;
  {
    DeviceLock lock(device_);
    playOffset_ = 0;
    consumed_.store(0);
    playing_ = ring_ != nullptr && ringBytes_ > 0;
  }
  SDL_PauseAudioDevice(device_, 0);
}

uint32_t SdlWaveOut::positionBytes() {
  const uint64_t consumed = consumed_.load();
  return consumed > latencyBytes_ ? static_cast<uint32_t>(consumed - latencyBytes_) : 0;
}

void SdlWaveOut::unprepare() {
  DeviceLock lock(device_);
  playing_ = false;
  ring_ = nullptr;
  ringBytes_ = 0;
}

void SdlWaveOut::reset() {
  if (!device_) return;
  {
    DeviceLock lock(device_);
    playing_ = false;
    playOffset_ = 0;
    consumed_.store(0);
  }
  SDL_PauseAudioDevice(device_, 1);
}

void SdlWaveOut::close() {
  if (!device_) return;
  SDL_CloseAudioDevice(device_);  // waits for a running callback
  device_ = 0;
  playing_ = false;
  ring_ = nullptr;
  ringBytes_ = 0;
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlWaveOut::callback(void* self, uint8_t* stream, int length) {
  static_cast<SdlWaveOut*>(self)->fill(stream, static_cast<size_t>(length));
}

void SdlWaveOut::fill(uint8_t* stream, size_t length) {
  if (!playing_) {
    std::memset(stream, 0, length);
    return;
  }
  size_t done = 0;
  while (done < length) {
    const size_t run = std::min(length - done, ringBytes_ - playOffset_);
    std::memcpy(stream + done, ring_ + playOffset_, run);
    playOffset_ = (playOffset_ + run) % ringBytes_;
    done += run;
  }
  consumed_.fetch_add(length);
}

}  // namespace demo
