#pragma once
// Which bytes of the looping ring the browser's audio thread must be given, and when. The browser
// plays a copy of the ring of its own: its audio thread cannot read the program's memory (that needs
// shared memory, which only pages served with cross-origin isolation get). So every byte the engine
// renders has to be copied over before the player reaches it, and not before the engine has
// rendered it.
//
// The engine reads the played position, then renders every block the device has left: after the
// reading at position p, the ring holds the next ring's length of sound from the start of p's
// block on, the block being played included. At the following reading the bytes from there up to
// p + lead are therefore current, for any lead shorter than the ring less one block; half the ring
// leaves room for blocks of up to half of it. So the player always has the sound of the moment as
// long as any two readings in a row come within the lead (one second of the show's two-second
// ring: the page reads once a frame). Positions count bytes since playback started, across loops.

#include <cstdint>
#include <vector>

namespace demo {

class RingFeed {
 public:
  struct Span {
    uint32_t offset;  // in the ring
    uint32_t bytes;
  };

  explicit RingFeed(uint32_t ringBytes) : ringBytes_(ringBytes), leadBytes_(ringBytes / 2 / 4 * 4) {}

  // Playback starts: the whole ring, rendered before it, goes over at once.
  void start();
  // The engine reads the played position: the spans to copy over now, in ring order (two where the
  // stretch runs across the ring's end). After a stall longer than the lead, what the player has
  // already passed is skipped: it played the ring's previous contents there, as a wave device
  // whose ring was not refilled in time does.
  void positionRead(uint64_t played, std::vector<Span>& spans);

  uint64_t sentUpTo() const { return sent_; }

 private:
  uint32_t ringBytes_;
  uint32_t leadBytes_;
  uint64_t rendered_ = 0;  // the previous reading: the engine has rendered behind it since
  uint64_t sent_ = 0;      // the player has the bytes before this position
};

}  // namespace demo
