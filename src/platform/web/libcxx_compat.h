#pragma once
// Included before every source of the browser build: what the C++20 library of emscripten 3.1.6
// (libc++ 14) lacks and the engine uses, so that the engine's sources compile there unchanged.

#include <memory>
#include <type_traits>

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
namespace std {
// An array whose elements are left uninitialised (libc++ 16 brings it).
template <class T>
  requires is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(size_t count) {
  return unique_ptr<T>(new remove_extent_t<T>[count]);
}
}  // namespace std
#endif
