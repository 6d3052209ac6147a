#pragma once
// What a key pressed on the page means to the show: the virtual-key code its window procedure sees
// (Escape is 27; letters and digits are their upper-case ASCII codes, as the browsers' legacy key
// codes are too), and whether it is the page's own F, which toggles full screen.

#include <cstdint>

namespace demo {

struct WebKey {
  int virtualKey = 0;
  bool toggleFullscreen = false;
  bool consumed = false;  // the browser does nothing more with it (Escape, F)
};

// key: the DOM `key` name ("Escape", "f"); keyCode: the legacy code; modified: Ctrl, Alt or Meta
// held, which leaves F to the browser (Ctrl+F finds text).
WebKey webKey(const char* key, uint32_t keyCode, bool modified);

}  // namespace demo
