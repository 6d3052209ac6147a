#!/usr/bin/env bash
# Builds the libraries the browser build needs and Debian does not ship for wasm: UCL, from Debian's
# own source package (scripts/ucl-cross.sh) with emscripten, into
#   PREFIX/include/ucl/*.h, PREFIX/lib/libucl.a        (PREFIX defaults to build/web-deps)
# Nothing is done when the library is already there. Needs: emscripten, dpkg-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-$PWD/build/web-deps}
scripts/ucl-cross.sh "$prefix" emcc emar
