#!/usr/bin/env bash
# Opens the gallery's combo box page in a real window under a virtual X
# server and uses the drop-down lists and the modal dialog with the mouse
# and keys (xdotool), taking a screenshot after each step: the window
# host's drop-downs and modal forms, checked for real.
# Usage: scripts/check-combo-window.sh [build-dir] [out-dir]
set -euo pipefail
build=${1:-build}
out=${2:-$build/combo-window-check}
gallery=$build/apps/gallery/vorn-gallery-sdl
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "check-combo-window: $tool is not installed; skipped"; exit 0; }
done
[ -x "$gallery" ] || { echo "check-combo-window: $gallery was not built; skipped"; exit 0; }
mkdir -p "$out"

. "$(dirname "$0")/window-lib.sh"
start_gallery check-combo-window "$gallery"
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y of the window
shot() { import -display "$display" -window root "$out/$1.png"; }
at() { xdotool mousemove $((X + $1)) $((Y + $2)) click 1; sleep 0.5; }

at 94 184                 # the page "Combo boxes and dialogs"
at 518 130                # open the 40-line list with its button
shot 1-list-open
xdotool key Down Down Down; sleep 0.3
shot 2-list-keys
xdotool key Return; sleep 0.4
shot 3-list-chosen
at 518 161                # the owner-drawn list
shot 4-colours-open
at 420 220                # choose a colour with the mouse
shot 5-colour-chosen
at 518 130                # open, then click outside: only closes
at 700 400
shot 6-closed-by-click-outside
at 420 263                # the modal dialog
shot 7-dialog
at 518 130                # the main window is blocked meanwhile
shot 8-main-blocked
xdotool mousemove 410 285 click 1; sleep 0.5   # the dialog's list (the dialog lies at 200,200)
shot 9-dialog-list
xdotool key Down Return; sleep 0.3
xdotool mousemove 380 218 click 1; sleep 0.6   # its OK button
shot 10-after-ok
kill -0 $app 2>/dev/null || { echo "check-combo-window: the gallery exited early"; exit 1; }
echo "check-combo-window: ok, screenshots in $out"
