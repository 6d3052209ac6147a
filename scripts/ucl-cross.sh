#!/usr/bin/env bash
# Builds UCL from Debian's own source package with a cross compiler into a static library, for the
# builds whose target Debian ships no UCL for (Windows through mingw-w64, the browser through
# emscripten):
#   scripts/ucl-cross.sh PREFIX CC AR [CFLAGS...]  ->  PREFIX/include/ucl/*.h, PREFIX/lib/libucl.a
# The source comes through a private apt configuration with a deb-src line, so the machine's apt
# sources stay untouched. Nothing is done when the library is already there. Needs: dpkg-dev.
set -euo pipefail
prefix=$1 cc=$2 ar=$3
shift 3
[ -f "$prefix/lib/libucl.a" ] && exit 0

work="$prefix/src"
rm -rf "$work" && mkdir -p "$work/apt/lists/partial" "$work/apt/parts"
echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/apt/sources.list"
apt_private=(-q -o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=$work/apt/parts"
             -o "Dir::State::Lists=$work/apt/lists" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
echo "ucl-cross: fetching the UCL source package" >&2
apt-get "${apt_private[@]}" update >/dev/null
(cd "$work" && apt-get "${apt_private[@]}" source --download-only ucl >/dev/null)
# apt has checked the files against the signed index; dpkg-source would only add that it lacks the
# maintainer's key.
(cd "$work" && dpkg-source -x ucl_*.dsc ucl >/dev/null 2>&1)

echo "ucl-cross: building UCL with $cc" >&2
mkdir -p "$work/obj" "$prefix/lib" "$prefix/include"
for source in "$work"/ucl/src/*.c; do
  "$cc" -O2 "$@" -I"$work/ucl/include" -I"$work/ucl" -c "$source" -o "$work/obj/$(basename "${source%.c}").o"
done
"$ar" rcs "$prefix/lib/libucl.a" "$work"/obj/*.o
mkdir -p "$prefix/include/ucl" && cp "$work"/ucl/include/ucl/*.h "$prefix/include/ucl/"
rm -rf "$work"
