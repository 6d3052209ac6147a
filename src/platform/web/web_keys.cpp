#include "platform/web/web_keys.h"

#include <cstring>

#include "platform/host.h"

namespace demo {

WebKey webKey(const char* key, uint32_t keyCode, bool modified) {
  WebKey result;
  result.virtualKey = static_cast<int>(keyCode);
  if (std::strcmp(key, "Escape") == 0) {
    result.virtualKey = KeyEscape;  // whatever code an old browser gives it
    result.consumed = true;
  } else if (!modified && (std::strcmp(key, "f") == 0 || std::strcmp(key, "F") == 0)) {
    result.virtualKey = 'F';
    result.toggleFullscreen = true;
    result.consumed = true;
  }
  return result;
}

}  // namespace demo
