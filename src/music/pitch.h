#pragma once
// Periods and frequencies of the two XM frequency tables. In both a higher period is a lower pitch.

#include <cstdint>

namespace demo {

// Linear table: 7680 - realNote x 64 - trunc(finetune / 2).
int32_t linearPeriod(int32_t realNote, int32_t finetune);
// Amiga table: the note's base period, moved towards its neighbour by finetune / 128.
int32_t amigaPeriod(int32_t realNote, int32_t finetune);
int32_t notePeriod(bool linear, int32_t realNote, int32_t finetune);

// The playback frequency of a period plus its vibrato offset (the sum must not be 0 for Amiga).
// Clamped to the int32 range, which only extreme fine-portamento periods reach.
int32_t linearFrequency(int32_t period, int32_t vibratoDelta);
int32_t amigaFrequency(int32_t period, int32_t vibratoDelta);

}  // namespace demo
