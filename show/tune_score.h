#pragma once
// The built-in show's tune: A minor, 125 BPM at speed 6 (a row is 120 ms of sound), ten channels,
// every pattern four chords of sixteen rows. The show's cuts follow the order list below.

#include "writers/xm_writer.h"

namespace demo::show {

enum TuneChannel : int { KickChannel, SnareChannel, HatChannel, BassChannel, PadChannel1, PadChannel2, PadChannel3,
                         ArpChannel, LeadChannel, EchoChannel, TuneChannels };

// The whole song: instruments, patterns and the order list.
XmSong composeTune();

}  // namespace demo::show
