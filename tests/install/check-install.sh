#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds and runs the users of
# the installed package: CMake without a C++ standard of its own, CMake with
# the window host component, and a plain compiler call through pkg-config.
# Usage: check-install.sh BUILD_DIR CMAKE CXX [sdl]
set -euo pipefail
build=$1
cmake=$2
cxx=$3
with_sdl=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
libdir=$(dirname "$(find "$prefix" -name 'libvorn.*' -print -quit)")
# A shared build in a prefix the loader does not search is found this way.
export LD_LIBRARY_PATH="$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"

# Each consumer is built and run in the background; the three run side by
# side to keep the check short.
consume() {  # name source-folder program [environment...]
  local out=$work/$1
  "$cmake" -S "$2" -B "$out" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_PREFIX_PATH="$prefix" &&
    "$cmake" --build "$out" && env "${@:4}" "$out/$3"
}

pkgconfig_consumer() {
  local pcdir=$libdir/pkgconfig
  # shellcheck disable=SC2046  # the flags are meant to split into words
  "$cxx" -o "$work/pkgconfig-consumer" "$here/plain/main.cpp" \
    $(PKG_CONFIG_PATH="$pcdir" pkg-config --cflags --libs vorn) &&
    "$work/pkgconfig-consumer" &&
    if [ -n "$with_sdl" ]; then PKG_CONFIG_PATH="$pcdir" pkg-config --exists --print-errors vorn-sdl; fi
}

consume plain "$here/plain" consumer >"$work/plain.log" 2>&1 &
jobs_started=(plain)
if [ -n "$with_sdl" ]; then
  consume sdl "$here/sdl" consumer_sdl SDL_VIDEODRIVER=dummy >"$work/sdl.log" 2>&1 &
  jobs_started+=(sdl)
fi
pkgconfig_consumer >"$work/pkgconfig.log" 2>&1 &
jobs_started+=(pkgconfig)

failed=0
for pid in $(jobs -p); do wait "$pid" || failed=1; done
for name in "${jobs_started[@]}"; do
  echo "== $name consumer"
  cat "$work/$name.log"
done
[ "$failed" -eq 0 ] || { echo "a consumer of the installed package failed"; exit 1; }
echo "installed package: every consumer built and ran"
