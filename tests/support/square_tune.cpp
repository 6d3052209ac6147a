#include "support/square_tune.h"

namespace demo::test {

XmSong squareTune() {
  XmSong song;
  song.channels = 1;
  song.speed = 6;
  song.bpm = 125;
  song.addPattern(64);
  for (int row = 0; row < 64; ++row) song.cell(0, row, 0) = {static_cast<uint8_t>(37 + row % 24), 1, 0, 0, 0};
  XmSample square;
  for (int i = 0; i < 32; ++i) square.data.push_back(i < 16 ? 90 : -90);
  square.loop = XmLoop::Forward;
  square.loopLength = 32;
  XmInstrument instrument;
  instrument.samples = {square};
  song.instruments = {instrument};
  return song;
}

}  // namespace demo::test
