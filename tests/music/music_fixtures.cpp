#include "music_fixtures.h"

#include <gtest/gtest.h>

#include "archive/reader.h"
#include "music/module_loader.h"
#include "music/player.h"

namespace demo::test {

MusicFileOps streamFileOps() {
  MusicFileOps ops;
  setMusicFileOps(ops, streamOpen, streamClose, streamRead, streamSeek, streamTell);
  return ops;
}

std::unique_ptr<Module> loadXmBytes(const std::vector<uint8_t>& bytes) {
  TempDir dir;
  const auto path = dir / "song.xm";
  writeFile(path, bytes);
  return loadModule(streamFileOps(), path.string().c_str());
}

std::unique_ptr<Module> loadXm(const XmSong& song) { return loadXmBytes(writeXm(song)); }

std::vector<int16_t> squareWave(uint8_t bits, size_t length) {
  const int16_t high = bits == 16 ? 10000 : 100;
  std::vector<int16_t> data(length);
  for (size_t i = 0; i < length; ++i) data[i] = i < length / 2 ? high : static_cast<int16_t>(-high);
  return data;
}

XmInstrument squareInstrument(uint8_t bits) {
  XmInstrument instrument;
  XmSample sample;
  sample.bits = bits;
  sample.data = squareWave(bits);
  sample.loop = XmLoop::Forward;
  sample.loopStart = 0;
  sample.loopLength = static_cast<uint32_t>(sample.data.size());
  instrument.samples.push_back(sample);
  return instrument;
}

XmSong basicSong(int channels, int rows) {
  XmSong song;
  song.channels = channels;
  song.addPattern(rows);
  song.instruments.push_back(squareInstrument());
  return song;
}

PlayerRig::PlayerRig(const XmSong& song) : module(loadXm(song)) {
  if (!module) throw std::runtime_error("the rig's song does not load");
  mixer.configure(44100);
  resetPlayback(*module, channels, mixer);
}

void PlayerRig::tick(int count) {
  for (int i = 0; i < count; ++i) module->tickHandler(*module, channels, mixer);
}

void PlayerRig::mix(int frames) {
  std::vector<float> scratch(static_cast<size_t>(frames) * 2);
  mixer.mixVoices(scratch.data(), frames);
}

void PlayerRig::playRow() {
  do {
    tick();
  } while (module->tick != 0);
}

}  // namespace demo::test
