#!/usr/bin/env bash
# On Windows a save reaches the disk through FlushFileBuffers, whose failure must fail the save
# and keep the old file, as a failed fsync does on Linux (io_faults). Under Wine, FlushFileBuffers
# is an fsync, which strace fails here: the list saved over the old one must then fail with its
# reason logged, and leave the old list; without the fault, the same save succeeds.
# Usage: flush_fault.sh IO_FAULT_DRIVER.exe   (WINE and WINEPREFIX as ctest gives them)
set -euo pipefail
driver=$1
command -v strace >/dev/null || { echo "SKIP: strace is not installed"; exit 77; }
wine=${WINE:-/usr/lib/wine/wine64}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
printf '\r\n' >"$folder/appSet"
printf 'old\r\n' >"$folder/modDta"
# Wine hands the program no QT_* variable of ours: the log goes to standard error as WINEQT_*.
save() {  # save [COMMAND...]: the driver saves the list, under COMMAND
  WINEDEBUG=-all WINEQT_FORCE_STDERR_LOGGING=1 "$@" "$wine" "$driver" save-list \
    "Z:${folder//\//\\}" 2>"$folder/log"
}
status=0
save strace -f -qq -o /dev/null -e trace=fsync -e inject=fsync:error=EIO || status=$?
[ "$status" = 1 ] || fail "a save whose flush failed: exit status $status ($(cat "$folder/log"))"
[ "$(cat "$folder/modDta")" = $'old\r' ] || fail "the old list is gone: $(cat "$folder/modDta")"
told=$(grep '^kelvor.files: Saving ".*modDta" failed: .' "$folder/log") ||
  fail "the failure is told with its reason: $(cat "$folder/log")"
save || fail "without the fault the save fails: $(cat "$folder/log")"
[ "$(head -1 "$folder/modDta")" = $'first\r' ] || fail "the list saved: $(cat "$folder/modDta")"
echo "a failed flush failed the save and kept the old list; the log said: $told"
