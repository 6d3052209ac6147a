#pragma once
// The pattern player: advances a Module one tick at a time. The row tick reads the row's cells and
// starts notes, instruments and effects; effect ticks run the continuing effects; every tick steps
// envelopes, fadeout and automatic vibrato and ends by writing each channel's voice. It has no timer:
// the block renderer calls the module's tickHandler whenever the current tick's frames are mixed.

#include <cstdint>

#include "music/channel.h"
#include "music/mixer.h"
#include "music/module.h"

namespace demo {

// Before the first tick of a start: speed, tempo, global volume, position and time counter from the
// module's defaults; channels zeroed, channel i bound to voice i. The voices are silenced too, so
// none keeps playing a sample of a module played before, and the samples get back the finetunes E5x
// changed.
void resetPlayback(Module& module, Channels& channels, Mixer& mixer);

// bpm -> samplesPerTick = trunc(1000 / (bpm x 0.4) x rate x 0.001), in double precision from the
// single-precision constants: at 44100 Hz 125 -> 882, 144 -> 765, 32 -> 3445. Never below 1 frame,
// which only absurd rates or tempos would reach.
void setTempo(Module& module, int32_t bpm, int32_t rate);

// One tick; the module's tickHandler.
void playTick(Module& module, Channels& channels, Mixer& mixer);

}  // namespace demo
