#include "module_from_memory.h"

#include <cstring>
#include <vector>

#include "archive/reader.h"
#include "music/channel.h"
#include "music/mixer.h"
#include "music/module_loader.h"
#include "music/player.h"

namespace demo::test {

namespace {

// The file operations are plain function pointers without a context: open takes the bytes from
// here. The loader opens its file once; one load at a time per thread.
thread_local std::unique_ptr<uint8_t[]> bytesToOpen;
thread_local uint32_t sizeToOpen;

void* openBytes(const char*) {
  if (!bytesToOpen) return nullptr;
  auto reader = std::make_unique<Reader>();
  reader->assign(std::move(bytesToOpen), sizeToOpen);
  return reader.release();
}

}  // namespace

std::unique_ptr<Module> loadModuleFromBytes(std::span<const uint8_t> bytes) {
  auto copy = std::make_unique_for_overwrite<uint8_t[]>(bytes.size());  // exact size: overreads are caught
  if (!bytes.empty()) std::memcpy(copy.get(), bytes.data(), bytes.size());
  return loadModuleFromBytes(std::move(copy), static_cast<uint32_t>(bytes.size()));
}

std::unique_ptr<Module> loadModuleFromBytes(std::unique_ptr<uint8_t[]> bytes, uint32_t size) {
  bytesToOpen = std::move(bytes);
  sizeToOpen = size;
  MusicFileOps ops;
  setMusicFileOps(ops, openBytes, streamClose, streamRead, streamSeek, streamTell);
  std::unique_ptr<Module> module = loadModule(ops, "memory.xm");
  bytesToOpen.reset();
  return module;
}

void playTicks(Module& module, int ticks, int32_t framesPerTick) {
  Mixer mixer;
  mixer.configure(44100);
  Channels channels{};
  resetPlayback(module, channels, mixer);
  std::vector<float> mixed(static_cast<size_t>(framesPerTick) * 2);
  std::vector<int16_t> pcm(mixed.size());
  for (int i = 0; i < ticks; ++i) {
    module.tickHandler(module, channels, mixer);
    std::fill(mixed.begin(), mixed.end(), 0.0f);
    mixer.mixVoices(mixed.data(), framesPerTick);
    convertBlock(pcm.data(), mixed.data(), framesPerTick);
  }
}

}  // namespace demo::test
