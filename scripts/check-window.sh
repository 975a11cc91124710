#!/usr/bin/env bash
# Starts the gallery in a real window under a virtual X server, clicks and
# types into it with xdotool, and takes a screenshot: the window host,
# checked for real. Usage: scripts/check-window.sh [build-dir] [out.png]
set -euo pipefail
build=${1:-build}
out=${2:-$build/window-check.png}
gallery=$build/apps/gallery/vorn-gallery-sdl
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "check-window: $tool is not installed; skipped"; exit 0; }
done
[ -x "$gallery" ] || { echo "check-window: $gallery was not built; skipped"; exit 0; }

. "$(dirname "$0")/window-lib.sh"
start_gallery check-window "$gallery"
# Click the toolkit page's button twice and type into the window.
xdotool mousemove --window "$window" 520 178 click 1
sleep 0.2
xdotool mousemove --window "$window" 520 178 click 1
sleep 0.2
xdotool type --window "$window" "vorn"
sleep 0.5
import_tool=$(command -v import || true)
if [ -n "$import_tool" ]; then
  import -display "$display" -window root "$out"
else
  xwd -display "$display" -root -silent > "$out.xwd" 2>/dev/null && echo "check-window: wrote $out.xwd (no converter)"
fi
kill -0 $app 2>/dev/null || { echo "check-window: the gallery exited early"; exit 1; }
echo "check-window: ok, screenshot in $out"
