#!/usr/bin/env bash
# Builds the libraries the Windows cross build needs and Debian does not ship for mingw-w64: UCL.
# Its source comes from Debian's own source package (apt-get source, through a private apt
# configuration with a deb-src line, so the machine's apt sources stay untouched) and is compiled with
# the cross compiler into a static library:
#   PREFIX/include/ucl/*.h, PREFIX/lib/libucl.a        (PREFIX defaults to build/windows-deps)
# Nothing is done when the library is already there. Needs: g++-mingw-w64-x86-64-posix, dpkg-dev.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=${1:-$PWD/build/windows-deps}
cc=x86_64-w64-mingw32-gcc-posix
[ -f "$prefix/lib/libucl.a" ] && exit 0

work="$prefix/src"
rm -rf "$work" && mkdir -p "$work/apt/lists/partial" "$work/apt/parts"
echo "deb-src http://deb.debian.org/debian bookworm main" >"$work/apt/sources.list"
apt_private=(-q -o "Dir::Etc::SourceList=$work/apt/sources.list" -o "Dir::Etc::SourceParts=$work/apt/parts"
             -o "Dir::State::Lists=$work/apt/lists" -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
echo "windows-deps: fetching the UCL source package" >&2
apt-get "${apt_private[@]}" update >/dev/null
(cd "$work" && apt-get "${apt_private[@]}" source --download-only ucl >/dev/null)
# apt has checked the files against the signed index; dpkg-source would only add that it lacks the
# maintainer's key.
(cd "$work" && dpkg-source -x ucl_*.dsc ucl >/dev/null 2>&1)

echo "windows-deps: building UCL with $cc" >&2
mkdir -p "$work/obj" "$prefix/lib" "$prefix/include"
for source in "$work"/ucl/src/*.c; do
  "$cc" -O2 -I"$work/ucl/include" -I"$work/ucl" -c "$source" -o "$work/obj/$(basename "${source%.c}").o"
done
x86_64-w64-mingw32-ar rcs "$prefix/lib/libucl.a" "$work"/obj/*.o
mkdir -p "$prefix/include/ucl" && cp "$work"/ucl/include/ucl/*.h "$prefix/include/ucl/"
rm -rf "$work"
