#pragma once
// Shared helpers of the music tests: modules built with the XM writer and loaded through the real
// stream callbacks, and a rig that runs the player tick by tick.

#include <cstdint>
#include <memory>
#include <vector>

#include "music/channel.h"
#include "music/mixer.h"
#include "music/module.h"
#include "music/music_file_ops.h"
#include "support/testdata.h"
#include "writers/xm_writer.h"

namespace demo::test {

// The show's file operations (the archive's stream callbacks).
MusicFileOps streamFileOps();

// Writes the bytes to a temporary file and loads it; null when the loader refuses it.
std::unique_ptr<Module> loadXmBytes(const std::vector<uint8_t>& bytes);
std::unique_ptr<Module> loadXm(const XmSong& song);

// 64 values of a square wave (+/-100 for 8-bit, +/-10000 for 16-bit).
std::vector<int16_t> squareWave(uint8_t bits, size_t length = 64);
// One instrument with one looping square sample mapped on every note.
XmInstrument squareInstrument(uint8_t bits = 8);
// channels channels, one pattern of rows rows, the square instrument, speed 6, BPM 125, linear.
XmSong basicSong(int channels = 4, int rows = 64);

// A loaded module with a 44100 Hz mixer and the channel table, reset for playing.
struct PlayerRig {
  explicit PlayerRig(const XmSong& song);
  void tick(int count = 1);
  // Ticks until the next row tick has been played (the rest of the current row, then tick 0).
  void playRow();
  // Plays count ticks and returns what read(rig) gives after each.
  template <typename Read>
  std::vector<int> ticks(int count, Read read) {
    std::vector<int> values;
    for (int i = 0; i < count; ++i) {
      tick();
      values.push_back(static_cast<int>(read(*this)));
    }
    return values;
  }
  // Mixes frames into a scratch buffer, moving the voices on.
  void mix(int frames);

  std::unique_ptr<Module> module;
  Mixer mixer;
  Channels channels{};
  Channel& channel(int i) { return channels[i]; }
  Voice& voice(int i) { return mixer.voice(i); }
};

}  // namespace demo::test
