#pragma once
// The show's graphics on Direct3D 8 itself. Nothing here needs Direct3D's headers: the app and the
// test programs see only our interfaces.

#include <cstdint>
#include <vector>

#include "platform/render_device.h"

namespace demo {

// A Direct3DFactory: Direct3DCreate8 from d3d8.dll, loaded at run time (mingw-w64 ships no import
// library for it), wrapped in our interface. context is unused. Null when the library or the entry
// point is missing or Direct3DCreate8 refuses the SDK version.
Direct3D* d3d8Direct3DCreate(void* context, uint32_t sdkVersion);

// The back buffer of a device made by that factory as 8-bit RGBA, top row first. Formats without
// alpha read as opaque. False when the copy cannot be made.
bool readD3d8BackBuffer(RenderDevice& device, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height);

}  // namespace demo
