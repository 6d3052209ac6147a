#pragma once
// The oscillators of vibrato, tremolo and automatic vibrato.

#include <cstdint>

namespace demo {

// Vibrato and tremolo: position -32..31, shape 0 sine (0..256), 1 ramp, 2 and 3 square (255).
int32_t waveShape(int32_t position, int32_t shape);
// Automatic vibrato of an instrument: position 0..255, types 0 sine, 1 square, 2 and 3 ramps, each
// -64..64. Types above 3 are not defined by the format; they give no vibrato.
int32_t autoVibratoWave(int32_t type, int32_t position);

}  // namespace demo
