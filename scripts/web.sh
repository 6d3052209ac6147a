#!/usr/bin/env bash
# The built-in show as a web page, served on this machine:
#   scripts/web.sh [--build-only] [--port N]     (port 8000 unless given; 0 picks a free one)
# Installs what is missing (emscripten and Chromium with the native build's packages; not mingw-w64
# or Wine), builds what makes the show's archive natively (build/release: the show's generators and
# demo-pack), UCL for wasm (scripts/web-deps.sh) and the page (build/web/: index.html, demo.js,
# demo.wasm, the page's scripts and showcase.pak), then serves build/web on 127.0.0.1 and prints the
# address. --build-only stops after building.
set -euo pipefail
cd "$(dirname "$0")/.."
build_only="" port=8000
while [ $# -gt 0 ]; do
  case "$1" in
    --build-only) build_only=1 ;;
    --port) port=${2:?--port needs a number}; shift ;;
    *) echo "usage: scripts/web.sh [--build-only] [--port N]" >&2; exit 2 ;;
  esac
  shift
done

DEMO_WINDOWS="${DEMO_WINDOWS:-0}" scripts/setup.sh
jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j "$jobs" --target showcase_archive
scripts/web-deps.sh
cmake -S . -B build/web -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/web -j "$jobs"
cp build/release/show/showcase.pak build/web/showcase.pak
echo "The page is in $PWD/build/web (index.html; index.html?show=OTHER.pak plays another archive)" >&2
[ -n "$build_only" ] && exit 0
exec node tools/web/serve.mjs build/web --port "$port"
