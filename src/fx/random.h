#pragma once
// The show's random numbers: the C runtime's rand sequence, reproduced so that every platform
// draws the same values (the platform's own rand uses other constants, or none of these).
// One generator per show, never reseeded: the blur jitter and the particle systems share it, so
// the order in which they draw is part of what the show looks like.

#include <cstdint>

namespace demo {

class Random {
 public:
  static constexpr int Max = 32767;

  // The next value, 0 to 32767: bits 16 to 30 of state x 214013 + 2531011 (mod 2^32).
  int next();

  uint32_t state() const { return state_; }

 private:
  uint32_t state_ = 1;  // the runtime's state before any srand
};

}  // namespace demo
