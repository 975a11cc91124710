#!/usr/bin/env bash
# Compares TCanvas with the reference drawing interface on the cases of
# cases.txt. The reference side is a small C program drawing into a DIB
# section in a memory DC, compiled with mingw-w64 and run under Wine; both
# are tools of this comparison only, never needed to build or test vorn.
#
#   tools/gdiref/run.sh [--install] [--golden]
#     --install  apt-get the reference tools (wine64, mingw-w64) if missing
#     --golden   also rewrite the golden reference sheet checked by make test
# Needs a built library in ./build (make build). Output: build/gdiref/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out="$root/build/gdiref"
install=0
golden=0
for a in "$@"; do
  case "$a" in
    --install) install=1 ;;
    --golden) golden=1 ;;
    *) echo "unknown option $a" >&2; exit 2 ;;
  esac
done
wine=$(command -v wine64 || command -v wine || { [ -x /usr/lib/wine/wine64 ] && echo /usr/lib/wine/wine64; } || true)
if [ -z "$wine" ] || ! command -v x86_64-w64-mingw32-gcc > /dev/null; then
  if [ "$install" -ne 1 ]; then
    echo "gdiref: wine64 and mingw-w64 are needed; run with --install to apt-get them" >&2
    exit 1
  fi
  apt-get install -y --no-install-recommends wine64 gcc-mingw-w64-x86-64
  wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
fi
mkdir -p "$out"
python3 "$here/gen_cases.py" "$out/cases.txt"
if ! cmp -s "$out/cases.txt" "$here/cases.txt"; then
  echo "gdiref: note: cases.txt differs from gen_cases.py output; using the generated one" >&2
fi
x86_64-w64-mingw32-gcc -O1 -Wall -o "$out/gdiref.exe" "$here/gdiref.c" -lgdi32
export WINEPREFIX="$out/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$wine" "$out/gdiref.exe" "$out/cases.txt" "$out/ref.raw"
[ -f "$root/build/libvorn.a" ] || { echo "gdiref: build the library first (make build)" >&2; exit 1; }
c++ -std=c++20 -O1 -I"$root" -o "$out/ours" "$here/ours.cpp" "$root/build/libvorn.a" \
  $(pkg-config --libs freetype2 fontconfig libpng libjpeg) -lpthread
"$out/ours" "$out/cases.txt" "$out/ours.raw"
python3 "$here/compare.py" "$out/cases.txt" "$out/ref.raw" "$out/ours.raw" "$out" | tee "$out/report.txt"
if [ "$golden" -eq 1 ]; then
  cp "$out/cases.txt" "$here/cases.txt"
  python3 "$here/compare.py" sheet "$out/cases.txt" "$out/ref.raw" "$here/golden/reference.png"
  echo "gdiref: golden sheet written to tools/gdiref/golden/reference.png"
fi
