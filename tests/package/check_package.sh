#!/usr/bin/env bash
# The portable package: made by CPack, unpacked into a folder with a blank in its name, and
# started from another folder, it finds its data files beside itself and shows its window.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1

for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
if [ -z "${KELVOR_ON_XVFB:-}" ]; then
  KELVOR_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
unset QT_QPA_PLATFORM

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
archive=$(ls "$work"/out/kelvor-launcher-*.tar.gz)
mkdir "$work/My Games"
tar -xzf "$archive" -C "$work/My Games"
folder=$(ls -d "$work/My Games"/kelvor-launcher-*)

expected="install-menu-entry
kelvor-launcher
kelvor-launcher.desktop
kelvor-launcher.png
Kelvor_Launcher_Help.chm
README.txt"
[ "$(cd "$folder" && ls -1 | LC_ALL=C sort -f)" = "$expected" ] ||
  fail "the package holds: $(cd "$folder" && ls -1 | tr '\n' ' ')"
echo "package: $(basename "$archive") holds one folder with the 6 expected files"

printf 'game.exe\r\n' >"$folder/appSet"
printf 'Vallmark\r\n' >"$folder/modDta"
(cd / && exec "$folder/kelvor-launcher") &
main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvor Launcher$' | head -1)
[ -n "$main" ] || fail "the unpacked launcher shows a window"
width=$(xdotool getwindowgeometry --shell "$main" | sed -n 's/^WIDTH=//p')
# Missing data files would bring up the small error box instead of the main window.
[ "$width" -gt 500 ] || fail "the main window shows, not an error box (width $width)"
echo "unpacked launcher started from / and read its files: main window $width px wide"

export XDG_DATA_HOME="$work/xdg"
"$folder/install-menu-entry" >/dev/null
entry="$XDG_DATA_HOME/applications/kelvor-launcher.desktop"
grep -qxF "Exec=\"$folder/kelvor-launcher\"" "$entry" || fail "menu entry: $(grep Exec "$entry")"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$icon" ] || fail "menu entry icon $icon"
"$folder/install-menu-entry" --remove >/dev/null
[ ! -e "$entry" ] || fail "menu entry removed"
echo "menu entry: added pointing at the unpacked folder, and removed"
