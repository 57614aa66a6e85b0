#!/usr/bin/env bash
# The portable package: made by CPack, unpacked into a folder with a blank in its name, and
# started from another folder, it finds its data files and its help beside itself and shows its
# window, and loads no Qt plugin planted beside itself.
# Usage: check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2

for tool in xvfb-run xdotool cc python3; do
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

expected="appSet
install-menu-entry
kelvor-launcher
kelvor-launcher-$version-source.zip
kelvor-launcher.desktop
kelvor-launcher.png
Kelvor_Launcher_Help.chm
LICENSE
licenses
modDta
README.txt"
[ "$(cd "$folder" && ls -1 | LC_ALL=C sort -f)" = "$expected" ] ||
  fail "the package holds: $(cd "$folder" && ls -1 | tr '\n' ' ')"
[ "$(cat "$folder/appSet")" = $'\r' ] && [ ! -s "$folder/modDta" ] ||
  fail "the first-start files: appSet one empty line, modDta empty"
echo "package: $(basename "$archive") holds one folder with the $(wc -l <<<"$expected") expected entries"

source_files=$(cmake -E tar tf "$folder/kelvor-launcher-$version-source.zip")
[ "$(ls "$folder/licenses")" = $'Carlito-OFL-1.1.txt\nQt-LGPL-3.0.txt' ] ||
  fail "the licences: $(ls "$folder/licenses" | tr '\n' ' ')"
for file in LICENSE CMakeLists.txt scripts/build-windows scripts/qt-patches/directwrite-needs-direct2d.patch \
  ui/main_window.cpp; do
  grep -qx "kelvor-launcher-$version-source/$file" <<<"$source_files" || fail "the source lacks $file"
done
echo "source: $(wc -l <<<"$source_files") files and folders, the Qt patch and build scripts among them"

# The width of the one window titled "Kelvor Launcher" that shows, once one does: the main
# window, or the small error box that start-up shows before it.
shown_width() {
  local windows
  windows=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvor Launcher$')
  [ "$(wc -l <<<"$windows")" = 1 ] || fail "one window shows at start: $(wc -l <<<"$windows")"
  xdotool getwindowgeometry --shell "$windows" | sed -n 's/^WIDTH=//p'
}

# A first start, from a folder holding unreadable decoys: the main window and no error box, so
# the files read are the package's own. A reader of PNG images, such as the window's icon is,
# planted in a plugin folder beside the launcher never runs in it.
mkdir "$work/decoys" "$folder/imageformats"
printf 'a\0b' | tee "$work/decoys/appSet" >"$work/decoys/modDta"
support=$(dirname "$0")/../support
cc -shared -fPIC -o "$folder/imageformats/libqmarker.so" "$support/planted_library.c" \
  -DMARKER="\"$work/planted-ran\"" -DQT_METADATA="$(python3 "$support/qt_plugin_metadata.py" \
  org.qt-project.Qt.QImageIOHandlerFactoryInterface png)"
(cd "$work/decoys" && exec "$folder/kelvor-launcher") &
width=$(shown_width)
[ "$width" -gt 500 ] || fail "the main window shows, not an error box (width $width)"
kill %% && wait %% 2>/dev/null || true
[ ! -e "$work/planted-ran" ] || fail "a Qt plugin planted beside the launcher ran in it"
rm -r "$folder/imageformats"
echo "first start from another folder: the main window ($width px wide), no error box, and no"
echo "plugin planted beside it loaded"

# An unreadable path file: the error box shows alone, and the main window only after it.
cp "$work/decoys/appSet" "$folder/appSet"
(cd / && exec "$folder/kelvor-launcher") &
width=$(shown_width)
[ "$width" -lt 500 ] || fail "the error box shows first (width $width)"
xdotool key Return
for _ in $(seq 100); do [ "$(xdotool search --onlyvisible --name '^Kelvor Launcher$' | wc -l)" = 1 ] &&
  [ "$(shown_width)" -gt 500 ] && break; sleep 0.1; done
width=$(shown_width)
[ "$width" -gt 500 ] && [ -f "$folder/appSet.bak" ] || fail "the main window follows the box"
kill %% && wait %% 2>/dev/null || true
rm "$folder/appSet.bak"
echo "unreadable path file: the error box alone, then the main window; the file kept aside"

# Installing over the player's folder keeps the player's files.
printf 'game.exe\r\n' >"$folder/appSet"
printf 'Vallmark\r\n' >"$folder/modDta"
cmake --install "$build" --prefix "$folder" >/dev/null
[ "$(cat "$folder/appSet" "$folder/modDta")" = $'game.exe\r\nVallmark\r' ] ||
  fail "an update replaced the player's files"
echo "update: cmake --install keeps the player's appSet and modDta"

# F1 hands the desktop's viewer the help beside the launcher, whatever the working folder, and
# nothing at all while the help is missing. The viewer here records what it was given.
mkdir "$work/viewer"
printf '#!/bin/sh\necho "$1" >>"%s/opened"\n' "$work" >"$work/viewer/xdg-open"
chmod +x "$work/viewer/xdg-open"
mv "$folder/Kelvor_Launcher_Help.chm" "$work/"
(cd / && PATH="$work/viewer:$PATH" exec "$folder/kelvor-launcher") &
main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvor Launcher$')
xdotool windowfocus --sync "$main" key F1
sleep 1  # for the key to be handled while the help is still away
[ ! -e "$work/opened" ] || fail "F1 handed the viewer a missing help: $(cat "$work/opened")"
mv "$work/Kelvor_Launcher_Help.chm" "$folder/"
xdotool key F1
for _ in $(seq 100); do [ -s "$work/opened" ] && break; sleep 0.1; done
sleep 0.5
[ "$(cat "$work/opened" 2>/dev/null)" = "file://${folder// /%20}/Kelvor_Launcher_Help.chm" ] ||
  fail "F1 handed the viewer: $(cat "$work/opened" 2>/dev/null)"
kill %% && wait %% 2>/dev/null || true
echo "help: F1 from another folder opened the help beside the launcher, and nothing while missing"

export XDG_DATA_HOME="$work/xdg"
"$folder/install-menu-entry" >/dev/null
entry="$XDG_DATA_HOME/applications/kelvor-launcher.desktop"
grep -qxF "Exec=\"$folder/kelvor-launcher\"" "$entry" || fail "menu entry: $(grep Exec "$entry")"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$icon" ] || fail "menu entry icon $icon"
"$folder/install-menu-entry" --remove >/dev/null
[ ! -e "$entry" ] || fail "menu entry removed"
echo "menu entry: added pointing at the unpacked folder, and removed"
