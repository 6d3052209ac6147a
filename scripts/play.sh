#!/usr/bin/env bash
# Sets up, builds, and runs the main job: the built-in show in a window when a display exists,
# otherwise a capture of it to out/showcase.mp4 (or, without ffmpeg, PNG frames + WAV in out/showcase/).
set -euo pipefail
cd "$(dirname "$0")/.."
# Playing needs neither mingw-w64 nor Wine (1.7 GB) nor emscripten and Chromium (1.25 GB): only the
# test command installs them.
DEMO_WINDOWS="${DEMO_WINDOWS:-0}" DEMO_WEB="${DEMO_WEB:-0}" scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -x build/release/show/showcase ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/release/show/showcase win "$@"
  fi
  mkdir -p out
  # Without ffmpeg there is no video: the frames as PNG files and the sound as a WAV file instead.
  if command -v ffmpeg >/dev/null; then
    result=out/showcase.mp4
  else
    result=out/showcase
    echo "ffmpeg is not installed: capturing PNG frames and audio.wav into $PWD/$result/ instead" >&2
  fi
  build/release/show/showcase --capture "$result" "$@"
  echo "The show was captured to $PWD/$result" >&2
else
  echo "The built-in show is not built yet; the engine is at build/release/src/app/demo" >&2
fi
