#pragma once
// How timed instructions move from their from-value to their to-value between their start time s
// (the preceding start or at) and their end time e. All times are 32-bit milliseconds compared as
// unsigned numbers; the arithmetic is the engine's own, wrap-around included, so that results are
// the same on every platform.

#include <cstdint>

namespace demo {

// demoTime >= time, compared as unsigned numbers.
inline bool reached(uint32_t demoTime, int32_t time) { return demoTime >= static_cast<uint32_t>(time); }

// Fixed-point fraction t = ((demoTime - s) x 1024) / (e - s) in unsigned 32-bit arithmetic with a
// truncating division, 0 <= t < 1024 while demoTime < e. A zero-length span (only reachable with a
// wrapped time before start) counts as not yet begun: 0, never a division by zero.
uint32_t fixedFraction(uint32_t demoTime, int32_t start, int32_t end);

// Each 8-bit channel: from + (((to - from) x t) >> 10), difference signed, shift arithmetic, sum
// truncated to 8 bits.
uint32_t interpolateColour(uint32_t from, uint32_t to, uint32_t t);

// Blur levels: from + (((to - from) x t) >> 10) in signed 32-bit arithmetic (wrapping).
int32_t interpolateLevel(int32_t from, int32_t to, uint32_t t);

// u = (demoTime - s) / (e - s), the numerator unsigned, the quotient a float; 0 for a zero span.
float floatFraction(uint32_t demoTime, int32_t start, int32_t end);

inline float interpolateFloat(float from, float to, float u) { return from + (to - from) * u; }

// The scene frame of playscene and showtunnel: startFrame + (demoTime - s) x speed in floats, the
// time difference unsigned. Above lastFrame the segment (lastFrame - firstFrame) is subtracted until
// it is not (computed at once, so a frame any distance ahead costs the same); a frame below
// firstFrame stays. Without a segment (lastFrame <= firstFrame), and for a frame that is not
// finite, a frame above lastFrame gives lastFrame.
float sceneFrame(int32_t startFrame, int32_t startTime, float speed, uint32_t demoTime, uint32_t firstFrame,
                 uint32_t lastFrame);

}  // namespace demo
