#pragma once
// One mixer voice. Player channel i drives voice i: the player writes pitch, level, panning, gains
// and triggers; the mixer owns position, direction, the gain ramps and the end of the sample.

#include <cstdint>

namespace demo {

struct Sample;

enum VoiceDirection : int32_t { DirectionForward = 1, DirectionBackward = 2 };

struct Voice {
  int32_t index = 0;
  int32_t levelCopy = 0;
  int32_t frequency = 0;  // as last set, before the lower bound of 100 Hz
  int32_t panCopy = 0;
  int32_t level = 0;    // 0..127 for in-range channel values
  int32_t panning = 0;  // 0..255
  uint32_t startOffset = 0;
  const Sample* sample = nullptr;  // null: silent
  int32_t gainFirst = 0;   // level x (255 - panning) / 255, for the first (left) sample of each output frame
  int32_t gainSecond = 0;  // level x panning / 255, for the second (right) sample
  uint32_t position = 0;   // integer part, in samples
  uint32_t fraction = 0;   // units of 2^-32
  uint32_t stepFraction = 0;
  uint32_t stepInteger = 1;
  int32_t direction = DirectionForward;
  int32_t lastGainFirst = 0, lastGainSecond = 0;  // targets the current ramp was started for
  uint32_t currentFirst = 0, currentSecond = 0;   // gain applied, x 256
  float rampStepFirst = 0, rampStepSecond = 0;    // per-frame change of the applied gain, in units of 1/255
  int32_t rampLeft = 0;                           // frames left in the ramp, 0 = none
};

}  // namespace demo
