#pragma once
// The one door to Direct3D 8's own declarations for the files of this backend. Our render types use
// Direct3D's names inside namespace demo, and <d3d8.h> turns many of those names (D3D_OK, D3DFVF_XYZ,
// D3DCLEAR_TARGET, ...) into macros: so our headers come first, and values cross between the two
// sets of types only through the conversions below, never by reinterpreting memory.

#include "platform/render_device.h"
#include "platform/render_types.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <d3d8.h>

namespace demo {

// Our enumerations carry Direct3D's numbers (render_types.h), so an enumerator crosses by value.
template <class To, class From>
To convertEnum(From value) {
  return static_cast<To>(static_cast<uint32_t>(value));
}

::D3DMATRIX toNative(const D3DMATRIX& matrix);
::D3DMATERIAL8 toNative(const D3DMATERIAL8& material);
::D3DLIGHT8 toNative(const D3DLIGHT8& light);
::D3DRECT toNative(const D3DRECT& rect);
::RECT toNative(const RECT& rect);
::D3DPRESENT_PARAMETERS toNative(const D3DPRESENT_PARAMETERS& parameters);

D3DPRESENT_PARAMETERS fromNative(const ::D3DPRESENT_PARAMETERS& parameters);
D3DDISPLAYMODE fromNative(const ::D3DDISPLAYMODE& mode);
D3DSURFACE_DESC fromNative(const ::D3DSURFACE_DESC& desc);
D3DVERTEXBUFFER_DESC fromNative(const ::D3DVERTEXBUFFER_DESC& desc);
D3DINDEXBUFFER_DESC fromNative(const ::D3DINDEXBUFFER_DESC& desc);

}  // namespace demo
