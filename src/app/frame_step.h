#pragma once
// One frame of the show: once started, read the clock, clear to the background colour and set the
// ambient level; step the program; run the active instructions (the first that draws begins the
// scene); end the scene, present, count the frame and give the rest of the time slice away.

#include <functional>

#include "script/show.h"

namespace demo {

// The ambient light level every started frame sets.
inline constexpr uint32_t FrameAmbient = 0x80808080u;

// True to go on, false when the show stops (also when the clock reaches the play range's end).
// The frame that catches a section up is run but not presented. A frame that stops is not presented: the program's
// stop abandons it before the active instructions run, an active instruction's stop after them.
// `finished` (capture) runs with the frame's picture complete, right before Present: after Present
// a Direct3D back buffer (swap effect discard) no longer holds it. The frame is on screen from that
// moment.
bool frameStep(Show& show, const std::function<void()>& finished = nullptr);

}  // namespace demo
