#include "platform/sdl/system_chatter.h"

#include <dlfcn.h>

#include <cstdarg>

namespace demo {
namespace {

// snd_lib_error_handler_t and wl_log_func_t, declared here: the headers of neither library are
// needed, nor linking them.
using AlsaHandler = void (*)(const char* file, int line, const char* function, int error, const char* format, ...);
using AlsaSetHandler = int (*)(AlsaHandler);
using WaylandHandler = void (*)(const char* format, va_list arguments);
using WaylandSetHandler = void (*)(WaylandHandler);

void alsaSilence(const char*, int, const char*, int, const char*, ...) {}
void waylandSilence(const char*, va_list) {}

// The library's function, keeping the library loaded for good so that the handler stays in place
// when SDL loads and unloads its own reference; null when the library is not there.
void* lookUp(const char* library, const char* function) {
  void* handle = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  return handle ? dlsym(handle, function) : nullptr;
}

}  // namespace

void quietSystemLibraries() {
  if (auto set = reinterpret_cast<AlsaSetHandler>(lookUp("libasound.so.2", "snd_lib_error_set_handler")))
    set(alsaSilence);
  if (auto set = reinterpret_cast<WaylandSetHandler>(lookUp("libwayland-client.so.0", "wl_log_set_handler_client")))
    set(waylandSilence);
}

}  // namespace demo
