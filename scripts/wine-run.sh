#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine on a virtual display and exits with its status:
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENTS...]
# The Wine prefix (DEMO_WINE_PREFIX, default build/wine-prefix beside this script's folder) is made on
# first use: 64-bit, without the .NET and HTML engines, and with X11 windows unmanaged (without a
# window manager, destroying a managed window waits two seconds). The program's sound goes to an ALSA
# null device through a HOME of its own, so waveOutOpen works on machines without sound hardware.
# DEMO_WINE_SCREEN sets the virtual screen (default 1024x768x24; full screen 640 x 480 needs exactly
# 640x480x24).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${DEMO_WINE_PREFIX:-$root/build/wine-prefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
home="$WINEPREFIX.home"

for tool in wine xvfb-run flock; do
  command -v "$tool" >/dev/null || { echo "wine-run: $tool is not installed" >&2; exit 127; }
done

mkdir -p "$(dirname "$WINEPREFIX")" "$home"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.demo-ready" ]; then
    echo "wine-run: making the Wine prefix $WINEPREFIX (once)" >&2
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.demo-ready"
  fi
) 9>"$WINEPREFIX.lock"
printf 'pcm.!default { type null }\nctl.!default { type null }\n' >"$home/.asoundrc"

# One program at a time per prefix: the Wine server belongs to the display it was started with.
exec 9>"$WINEPREFIX.lock"
flock 9
status=0
HOME="$home" xvfb-run -a -s "-screen 0 ${DEMO_WINE_SCREEN:-1024x768x24}" \
  sh -c '"$@"; status=$?; wineserver -k 2>/dev/null; wineserver -w; exit $status' wine-run wine "$@" || status=$?
exit $status
