#include "song_loop.h"

namespace demo::xmrender {

void SongLoop::beforeTick(const Module& module, uint64_t frame) {
  if (loopFrame_ || module.tick != 0) return;
  // The first row tick starts at position 0 with no pending jump; every later entry into a position
  // (the end of a pattern, B, D, the restart) is announced by nextOrder.
  int32_t entered = -1;
  if (module.nextOrder >= 0) {
    entered = module.nextOrder;
  } else if (frame == 0) {
    entered = module.order;
  }
  if (entered < 0) return;
  if (played_[entered & 255]) {
    loopFrame_ = frame;
  } else {
    played_[entered & 255] = true;
  }
}

}  // namespace demo::xmrender
