# Shared by the window checks (sourced): a virtual X server on a display it
# chooses itself, so that checks run one after another, or beside other
# servers, never meet a server that is still going away; and the gallery
# in it. After start_gallery: DISPLAY and display name the server, app is
# the gallery's process and window its main window.

# start_gallery CHECK-NAME GALLERY-PROGRAM
start_gallery() {
  local check=$1 gallery=$2 ready
  ready=$(mktemp)
  app=
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$ready" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $app $xvfb 2>/dev/null || true' EXIT
  # The server writes its display number once it takes connections.
  for _ in $(seq 200); do [ -s "$ready" ] && break; sleep 0.1; done
  display=:$(head -n 1 "$ready")
  rm -f "$ready"
  [ "$display" != ":" ] || { echo "$check: the virtual X server did not start"; exit 1; }
  export DISPLAY=$display
  SDL_VIDEODRIVER=x11 "$gallery" &
  app=$!
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "vorn gallery" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
  done
  [ -n "$window" ] || { echo "$check: the gallery window did not appear"; exit 1; }
  sleep 0.5
}
