#!/usr/bin/env bash
# No code planted beside the Windows launcher runs in it. A DLL for every system DLL it names
# that Windows does not keep among its KnownDLLs, each writing a marker when loaded, lies beside
# the launcher and in its working folder, with Wine told to prefer such a DLL to its own, as
# Windows does; a DLL that looks like a Qt plugin lies in the plugin folders beside it and in
# another folder that a qt.conf and QT_PLUGIN_PATH name. The launcher must show its window, open
# and close About, and quit, and no marker may appear. Every DLL imported at start must be a
# KnownDLL, so that no new import is looked for beside the launcher. The plugin look-alikes load
# into any Qt that scans its plugin folders, as a shared Qt does; the static Qt linked in scans
# none, and they stand guard should that ever change.
# Usage: check_planted_code.sh LAUNCHER.exe PLANTED_LIBRARY.c FORM_CODE
#   (FORM_CODE: the main window's code as uic made it; WINE, WINEPREFIX and DISPLAY as ctest
#   gives them, under xvfb-run)
set -euo pipefail
exe=$1 source=$2 form_code=$3
metadata=$(dirname "$source")/qt_plugin_metadata.py
for tool in x86_64-w64-mingw32-gcc x86_64-w64-mingw32-objdump strings xdotool python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no display (scripts/build-windows runs this under xvfb-run)"; exit 77; }
wine=${WINE:-/usr/lib/wine/wine64}
wineserver=$(dirname "$wine")/wineserver
work=$(mktemp -d)
marker=$work/loaded.txt
trap '"$wineserver" -k 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*"
  [ ! -e "$marker" ] || echo "These planted DLLs ran in it: $(tr -d '\r' <"$marker" | tr '\n' ' ')"
  exit 1
}
lower() { tr '[:upper:]' '[:lower:]'; }

# Windows' KnownDLLs, which it always takes from System32, and ntdll, which every process has.
known=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
  msctf msvcrt normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32
  shlwapi user32 wldap32 ws2_32 "
# API sets (api-ms-win-...) are no files at all: Windows maps each name to a system DLL.
is_known() { [[ $known == *[[:space:]]$1[[:space:]]* || $1 == api-ms-win-* ]]; }

imported=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | lower)
[ -n "$imported" ] || fail "no import table read from $exe"
for dll in $imported; do
  is_known "${dll%.dll}" || fail "$dll is imported at start, and Windows looks for it beside the launcher first"
done
# Every DLL the program names anywhere: its import and delay-load tables, and its code (UTF-16
# too, as LoadLibraryW takes the name).
planted=()
for dll in $({ strings -a "$exe"; strings -a -el "$exe"; } | grep -ixE '[a-z0-9_-]+\.dll' | lower | sort -u); do
  is_known "${dll%.dll}" || planted+=("${dll%.dll}")
done
[ ${#planted[@]} -gt 0 ] || fail "the program names no DLL outside the KnownDLLs, which it must"

mkdir -p "$work/app" "$work/cwd" "$work/elsewhere"
winpath() { echo "Z:${1//\//\\}"; }
build() {  # build OUTPUT [EXTRA FLAGS]
  local output=$1
  shift
  x86_64-w64-mingw32-gcc -shared -Os -o "$output" "$source" \
    -DMARKER="\"$(winpath "$marker" | sed 's/\\/\\\\/g')\"" "$@"
}
build "$work/planted.dll"
for dll in "${planted[@]}"; do
  cp "$work/planted.dll" "$work/app/$dll.dll"
  cp "$work/planted.dll" "$work/cwd/$dll.dll"
done
for folder in "$work/app" "$work/elsewhere"; do
  mkdir -p "$folder/platforms" "$folder/imageformats"
  # Plugins of a platform named "windows", and of a reader of PNG images such as About shows.
  build "$folder/platforms/qmarker.dll" -DQT_METADATA="$(python3 "$metadata" \
    org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3 windows)"
  build "$folder/imageformats/qmarker.dll" -DQT_METADATA="$(python3 "$metadata" \
    org.qt-project.Qt.QImageIOHandlerFactoryInterface png)"
done
printf '[Paths]\r\nPlugins=%s\r\n' "$(winpath "$work/elsewhere" | sed 's/\\/\//g')" >"$work/app/qt.conf"
printf '\r\n' >"$work/app/appSet"
: >"$work/app/modDta"
cp "$exe" "$work/app/kelvor-launcher.exe"

overrides="mscoree,mshtml=;$(IFS=,; echo "${planted[*]}")=n,b"
(cd "$work/cwd" && WINEDEBUG=-all WINEDLLOVERRIDES=$overrides \
  WINEQT_PLUGIN_PATH="$(winpath "$work/elsewhere")" \
  "$wine" "$work/app/kelvor-launcher.exe" >/dev/null 2>&1 &)
await() {  # await TITLE: the window's id, once shown, within a minute
  # Asked again and again: a search fails outright when a window it looks at goes meanwhile,
  # as Wine's own do while the launcher starts.
  local id
  for _ in $(seq 240); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.25
  done
}
gone() {  # gone TITLE: true once no such window is shown
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# The keys that choose the menu item named ITEM (mnuAbout, say), found by that name in the code
# uic made of the form: Alt reaches the menu bar, Right the item's menu, and Down the item,
# passing over separators. No reader under Wine reaches Qt's accessibility, which names them.
menu_keys() {  # menu_keys ITEM
  python3 - "$form_code" "$1" <<'FIND'
import re
import sys
code, item = open(sys.argv[1]).read(), sys.argv[2]
for index, menu in enumerate(re.findall(r"menubar->addAction\((\w+)->menuAction\(\)\);", code)):
    items = re.findall(rf"\b{menu}->addAction\((\w+)\);", code)
    if item in items:
        print(" ".join(["alt"] + ["Right"] * index + ["Down"] * (items.index(item) + 1)))
        sys.exit()
sys.exit(f"no menu item {item} in {sys.argv[1]}")
FIND
}
about_keys=$(menu_keys mnuAbout) exit_keys=$(menu_keys mnuExit)
main=$(await "Kelvor Launcher")
[ -n "$main" ] || fail "the launcher showed no window"
# shellcheck disable=SC2086 # the keys are words
xdotool windowfocus --sync "$main" key --delay 150 $about_keys Return
about=$(await About)
[ -n "$about" ] || fail "About did not open"
# Wine gives a window the keyboard when it is clicked: a click on the artwork, then Enter.
xdotool mousemove --window "$about" 30 60 click 1 sleep 0.5 key Return
gone About || fail "About did not close on Enter"
# File > Exit, and Yes, the default, to the question it asks.
# shellcheck disable=SC2086 # the keys are words
xdotool windowfocus --sync "$main" key --delay 150 $exit_keys Return
sleep 1
xdotool key Return
gone "Kelvor Launcher" || fail "the launcher did not quit"
[ ! -e "$marker" ] || fail "code planted beside the launcher ran in it"
echo "planted beside the launcher and in its working folder, none ran: ${planted[*]}; and Qt plugins in platforms/ and imageformats/, there and where qt.conf and QT_PLUGIN_PATH point"
