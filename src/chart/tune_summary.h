#pragma once
// What a tune does along the music clock, for the chart: when each song position begins and how loud
// it plays, found by playing it through the engine's own player and mixer into a virtual output.

#include <cstdint>
#include <string>
#include <vector>

namespace demo {

struct TuneSummary {
  static constexpr uint32_t LoudnessBlocks = 5;  // about 100 ms of sound per loudness value

  struct Position {
    int32_t order = 0;    // index into the order list
    int32_t pattern = 0;  // the pattern it plays
    uint32_t start = 0;   // music time in ms
  };
  struct Loudness {
    uint32_t start = 0;  // music time in ms
    float level = 0;     // RMS of both channels, 0 to 1 (full scale)
  };
  std::vector<Position> positions;  // each time the song moves to another position, as played
  std::vector<Loudness> loudness;
  uint32_t length = 0;  // music time rendered
};

// Plays the module `file` (archive first, then disk) until the music clock reaches `until` ms.
// False with the loader's reason in `error` when it cannot be loaded.
bool summariseTune(const char* file, uint32_t until, TuneSummary& summary, std::string& error);

}  // namespace demo
