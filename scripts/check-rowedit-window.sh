#!/usr/bin/env bash
# Opens the row editor from the gallery's report list page in a real window
# under a virtual X server, picks an item in the Site combo box, opens the
# Taken date picker's calendar, steps it with keys, takes the day and
# presses OK, with a screenshot after every step.
# Usage: scripts/check-rowedit-window.sh [build-dir] [out-dir]
set -euo pipefail
build=${1:-build}
out=${2:-$build/rowedit-window}
gallery=$build/apps/gallery/vorn-gallery-sdl
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "check-rowedit-window: $tool is not installed; skipped"; exit 0; }
done
[ -x "$gallery" ] || { echo "check-rowedit-window: $gallery was not built; skipped"; exit 0; }
mkdir -p "$out"

. "$(dirname "$0")/window-lib.sh"
start_gallery check-rowedit-window "$gallery"
shot() { sleep 0.6; import -display "$display" -window root "$out/$1.png"; }
xdotool mousemove --window "$window" 95 154 click 1      # the report list page
sleep 0.5
xdotool mousemove --window "$window" 754 101 click 1     # "Edit row..."
sleep 1
dialog=$(xdotool search --onlyvisible --name "Editing Row" 2>/dev/null | head -n 1 || true)
[ -n "$dialog" ] || { echo "check-rowedit-window: the row editor did not open"; exit 1; }
shot 1-dialog
xdotool mousemove --window "$dialog" 207 130 click 1     # the Site combo box's button
shot 2-combo-open
xdotool mousemove --window "$dialog" 120 166 click 1     # its second item
shot 3-combo-picked
xdotool mousemove --window "$dialog" 195 230 click 1     # the Taken picker's button
shot 4-calendar-open
xdotool key --window "$dialog" Right Down Return
shot 5-day-taken
xdotool mousemove --window "$dialog" 167 17 click 1      # OK
shot 6-after-ok
if xdotool search --onlyvisible --name "Editing Row" >/dev/null 2>&1; then
  echo "check-rowedit-window: the row editor did not close on OK"; exit 1
fi
echo "check-rowedit-window: ok, screenshots in $out"
