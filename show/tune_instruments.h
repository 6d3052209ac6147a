#pragma once
// The tune's instruments, synthesised: drums from sine sweeps and noise, and looped waveforms
// (bass, pad, pluck, lead) whose loops hold whole cycles so that they play in tune.

#include "writers/xm_writer.h"

namespace demo::show {

// Instrument numbers as the pattern cells name them (1-based, as in the file).
enum Instrument : uint8_t { Kick = 1, Snare, HiHat, Bass, Pad, Pluck, Lead };

// All seven, in number order.
std::vector<XmInstrument> tuneInstruments();

}  // namespace demo::show
