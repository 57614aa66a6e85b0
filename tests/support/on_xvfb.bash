# Sourced by a shell test that drives a real X server: runs the test again under xvfb-run, on a
# free display of its own. The server does not reset when its last client leaves, since a start
# that came just then would find no server; what it says goes to a file, which x_server_said
# prints when a step fails.
if [ -z "${KELVOR_ON_XVFB:-}" ]; then
  KELVOR_XVFB_LOG=$(mktemp)
  export KELVOR_ON_XVFB=1 KELVOR_XVFB_LOG
  status=0
  xvfb-run -a -e "$KELVOR_XVFB_LOG" -s "-screen 0 1024x768x24 -noreset" "$0" "$@" || status=$?
  rm -f "$KELVOR_XVFB_LOG"
  exit "$status"
fi
unset QT_QPA_PLATFORM  # the real X platform, not the tests' offscreen one

x_server_said() {
  [ ! -s "$KELVOR_XVFB_LOG" ] || { echo "The X server said:"; tail -n 20 "$KELVOR_XVFB_LOG"; }
}
