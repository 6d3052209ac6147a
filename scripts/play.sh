#!/usr/bin/env bash
# Sets up, builds, and runs the main job: the built-in show in a window when a display exists,
# otherwise a capture of it to out/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -x build/release/show/showcase ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/release/show/showcase win "$@"
  fi
  mkdir -p out
  build/release/show/showcase --capture out/showcase.mp4 "$@"
  echo "The show was captured to $PWD/out/showcase.mp4" >&2
else
  echo "The built-in show is not built yet; the engine is at build/release/src/app/demo" >&2
fi
