#pragma once
// Libraries below SDL print to stderr on their own: ALSA's "ALSA lib confmisc.c:855:(parse_card)
// cannot find card '0'" on a machine without a sound card, Wayland's "XDG_RUNTIME_DIR is invalid
// or not set" where SDL tries Wayland and finds none. The show reports what it cannot do in its own
// words (its boxes and exit codes), so these lines are only noise unless asked for (--verbose).
//
// Each library is quieted through its own handler, looked up at run time: SDL loads them itself,
// and a machine without one simply has nothing to quiet.

namespace demo {

// Routes ALSA's and Wayland's messages to nowhere for the rest of the process. Call before SDL
// starts its video or sound.
void quietSystemLibraries();

}  // namespace demo
