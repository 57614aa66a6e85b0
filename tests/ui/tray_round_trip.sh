#!/usr/bin/env bash
# The notification-area icon on a real X desktop: minimise with Ctrl+M, find the icon in a
# tray host, click it, and see the window back and the icon gone. Then closing the hidden
# window, and Ctrl+M where there is no notification area.
# Usage: tray_round_trip.sh LAUNCHER
set -euo pipefail
launcher=$1

for tool in xvfb-run trayer xdotool /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
source "$(dirname "$0")/../support/on_xvfb.bash"

folder=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$folder"' EXIT
cp "$launcher" "$folder/"
# Written as the launcher never writes them, so that any save on the way out would show.
printf '"game.exe"\n' | tee "$folder/appSet" "$folder/appSet.before" >/dev/null
printf 'Vallmark\r\n' >"$folder/modDta"

fail() { echo "FAIL: $*"; x_server_said; exit 1; }
visible_main() { xdotool search --onlyvisible --name '^Kelvor Launcher$' 2>/dev/null || true; }
icons() { xdotool search --classname '^kelvor-launcher$' 2>/dev/null | grep -vx "$main" || true; }
wait_for() {  # wait_for DESCRIPTION COMMAND...: up to 15 s for COMMAND to succeed
  local what=$1
  shift
  for _ in $(seq 150); do "$@" && return 0; sleep 0.1; done
  fail "$what"
}
ctrl_m() {
  xdotool windowfocus --sync "$main"
  xdotool key --clearmodifiers ctrl+m
}
minimise() {
  ctrl_m
  wait_for "the window hides on Ctrl+M" test -z "$(visible_main)"
  wait_for "one icon appears" test "$(icons | wc -l)" -eq 1
  icon=$(icons)
}
# Back, with the keyboard: a restored window the player has to click first would not do.
restored() {
  test "$(visible_main)" = "$main" && test -z "$(icons)" &&
    test "$(xdotool getwindowfocus)" = "$main"
}

trayer --edge top --align right --widthtype pixel --width 64 --height 32 \
  --SetDockType true --transparent false &
tray_host=$!
sleep 2  # the tray host must own the notification area before the launcher asks for it

start() {
  "$folder/kelvor-launcher" &
  launcher_pid=$!
  main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvor Launcher$' | head -1)
  [ -n "$main" ] || fail "the main window shows"
}
start

minimise
xdotool mousemove --window "$icon" 10 10
xdotool click 2
sleep 0.5
[ -z "$(visible_main)" ] || fail "hovering and the middle button leave the window hidden"
xdotool click 1
wait_for "a left click restores the window and removes the icon" restored
echo "left click: restored, icon gone"

minimise
xdotool mousemove --window "$icon" 10 10 click 3
wait_for "a right click restores the window and removes the icon" restored
echo "right click after a second minimise: restored, icon gone"

# The launcher ends on its own, cleanly; under the sanitizers a leak would make its exit status
# fail.
ended() {
  for _ in $(seq 100); do kill -0 "$launcher_pid" 2>/dev/null || break; sleep 0.1; done
  ! kill -0 "$launcher_pid" 2>/dev/null || fail "the launcher is still running"
  status=0
  wait "$launcher_pid" || status=$?
  [ "$status" = 0 ] || fail "the launcher ended with status $status"
}

# Hidden behind its icon, the main window is asked to close, as a session manager asks it.
minimise
/usr/bin/python3 - "$main" <<'PY'
import sys
from Xlib import X, display, protocol
screen = display.Display()
window = screen.create_resource_object("window", int(sys.argv[1]))
request = protocol.event.ClientMessage(
    window=window, client_type=screen.intern_atom("WM_PROTOCOLS"),
    data=(32, [screen.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
window.send_event(request)
screen.flush()
PY
ended
[ -z "$(icons)" ] || fail "the icon stays after the launcher ended"
cmp -s "$folder/appSet" "$folder/appSet.before" || fail "closing saved the path file"
echo "closed while hidden: the launcher ended with status 0, icon gone, nothing saved"

# Hidden with no icon to click, the window could never be brought back: with no tray host, Ctrl+M
# only minimises, which on this bare X server leaves the window on screen.
kill "$tray_host"
wait "$tray_host" || true
start
ctrl_m
sleep 1
[ "$(visible_main)" = "$main" ] && [ -z "$(icons)" ] ||
  fail "without a tray host, Ctrl+M leaves the window on screen and makes no icon"
echo "no tray host: Ctrl+M left the window where the player can find it"
