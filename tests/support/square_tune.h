#pragma once
// A tiny tune made for tests: one channel of square-wave notes climbing row by row (so that every
// stretch of the sound differs), speed 6, BPM 125.

#include "writers/xm_writer.h"

namespace demo::test {

XmSong squareTune();

}  // namespace demo::test
