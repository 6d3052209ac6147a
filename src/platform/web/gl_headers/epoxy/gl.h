#pragma once
// The browser build's stand-in for libepoxy's header: the OpenGL device draws through WebGL 2, which
// emscripten offers as OpenGL ES 3.0 and links directly (there are no entry points to load), so the
// device's sources compile unchanged.

#include <GLES3/gl3.h>

// Called only on an OpenGL 3.3 context, never in the browser; WebGL implements it all the same.
extern "C" void glClearDepth(double depth);
