#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the show need (only those missing).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsdl2-dev libegl-dev libopengl-dev libgles-dev libgl1-mesa-dri libegl-mesa0 libepoxy-dev
  libucl-dev libpng-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth ffmpeg sox
)
# The Windows build and its tests under Wine (about 1.7 GB installed; DEMO_WINDOWS=0 leaves them out).
if [ "${DEMO_WINDOWS:-1}" != 0 ]; then
  packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev dpkg-dev wine wine64)
fi
# The browser build and its test in headless Chromium (about 1.25 GB installed; DEMO_WEB=0 leaves them
# out). dpkg-dev unpacks UCL's source for the wasm build.
if [ "${DEMO_WEB:-1}" != 0 ]; then
  packages+=(emscripten chromium dpkg-dev)
fi
if [ "${DEMO_SETUP_EXTRA:-}" != "" ]; then
  read -r -a extra <<<"$DEMO_SETUP_EXTRA"
  packages+=("${extra[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
