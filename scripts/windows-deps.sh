#!/usr/bin/env bash
# Builds the libraries the Windows cross build needs and Debian does not ship for mingw-w64: UCL,
# from Debian's own source package (scripts/ucl-cross.sh), into
#   PREFIX/include/ucl/*.h, PREFIX/lib/libucl.a        (PREFIX defaults to build/windows-deps)
# Nothing is done when the library is already there. Needs: g++-mingw-w64-x86-64-posix, dpkg-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-$PWD/build/windows-deps}
scripts/ucl-cross.sh "$prefix" x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-ar
