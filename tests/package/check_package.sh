#!/usr/bin/env bash
# The portable package: made by CPack, unpacked into a folder with a blank in its name, and
# started from another folder, it finds its data files and its help beside itself and shows its
# window, and a screen reader finds its controls by name. Linked against a static Qt (the
# package players get, from scripts/build-linux), it needs no Qt or C++ runtime from the system
# and runs in a bare Debian root (KELVOR_BARE_ROOT, which that script makes), and no library
# with Qt's plugin metadata, planted wherever Qt looks for plugins, ever runs in it.
# Usage: check_package.sh BUILD_DIR VERSION QT_LINKAGE   (QT_LINKAGE: STATIC_LIBRARY or other)
set -euo pipefail
build=$1
version=$2
static=""
[ "$3" = STATIC_LIBRARY ] && static=1

for tool in xvfb-run xdotool xprop cc python3 dbus-run-session readelf objdump; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null ||
  { echo "SKIP: python3-gi and gir1.2-atspi-2.0 are not installed"; exit 77; }
source "$(dirname "$0")/../support/on_xvfb.bash"
support=$(dirname "$0")/../support

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; x_server_said; exit 1; }

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
# Linked in statically, Qt brings the libraries it bundles, and the launcher xcb-util.
for licence in Carlito-OFL-1.1.txt Qt-LGPL-3.0.txt ${static:+HarfBuzz.txt xcb-util.txt}; do
  [ -f "$folder/licenses/$licence" ] || fail "the licences lack $licence: $(ls "$folder/licenses")"
done
for file in LICENSE CMakeLists.txt scripts/build-windows scripts/build-linux \
  scripts/qt-patches/directwrite-needs-direct2d.patch ui/main_window.cpp; do
  grep -qx "kelvor-launcher-$version-source/$file" <<<"$source_files" || fail "the source lacks $file"
done
echo "source: $(wc -l <<<"$source_files") files and folders, the Qt patch and build scripts among them"

# What the one window titled "Kelvor Launcher" that shows is, once one does: "main" for the main
# window, or "box" for the error box that start-up shows before it, a dialog to the desktop.
shown_window() {
  local windows
  windows=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kelvor Launcher$')
  [ "$(wc -l <<<"$windows")" = 1 ] || fail "one window shows at start: $(wc -l <<<"$windows")"
  xprop -id "$windows" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_DIALOG && echo box ||
    echo main
}

if [ -n "$static" ]; then
  # What the program needs from the system: no Qt, no C++ runtime, no xcb-util, and no glibc
  # newer than Ubuntu 22.04's.
  needed=$(readelf -d "$folder/kelvor-launcher" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  ! grep -E 'Qt|stdc\+\+|gcc_s|xcb-(icccm|image|keysyms|render-util|util)' <<<"$needed" ||
    fail "the launcher needs the libraries above from the system"
  glibc=$(objdump -T "$folder/kelvor-launcher" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -1)
  [ "$(printf '%s\n' "$glibc" GLIBC_2.35 | sort -V | tail -1)" = GLIBC_2.35 ] ||
    fail "the launcher needs $glibc, newer than Ubuntu 22.04's GLIBC_2.35"
  echo "the launcher needs from the system: $(tr '\n' ' ' <<<"$needed")(newest symbol $glibc)"
fi

# A first start, from a folder holding unreadable decoys and with no D-Bus session to reach: the
# main window and no error box, so the files read are the package's own.
mkdir "$work/decoys"
printf 'a\0b' | tee "$work/decoys/appSet" >"$work/decoys/modDta"
(cd "$work/decoys" && DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
  exec "$folder/kelvor-launcher") &
[ "$(shown_window)" = main ] || fail "the main window shows, not an error box"
kill %% && wait %% 2>/dev/null || true
echo "first start from another folder, with no D-Bus session: the main window"

# Started where there is no display, it says so and fails, rather than crash.
status=0
env -u DISPLAY "$folder/kelvor-launcher" 2>"$work/no-display" || status=$?
[ "$status" -gt 0 ] && [ "$status" -lt 128 ] && grep -q DISPLAY "$work/no-display" ||
  fail "with no display: exit status $status and: $(cat "$work/no-display")"
echo "no display: exit status $status and \"$(cat "$work/no-display")\""

# A screen reader's session (tests/support/atspi_session.py): every control found by its name.
# In the static launcher, that session runs with a library bearing Qt's plugin metadata, under
# the keys desktops ask for, in every plugin folder beside the launcher, in its working folder,
# and where QT_PLUGIN_PATH, QT_QPA_PLATFORM_PLUGIN_PATH and a qt.conf point, under the desktops
# and input methods that make Qt look for them; none may run.
mkdir "$work/cwd"
sessions=("GNOME ibus")
if [ -n "$static" ]; then
  while read -r kind interface keys; do  # a planted plugin of each kind Qt looks for
    mkdir -p "$work/plugins/$kind"
    # shellcheck disable=SC2086 # the keys are words
    cc -shared -fPIC -o "$work/plugins/$kind/libqmarker.so" "$support/planted_library.c" \
      -DMARKER="\"$work/planted-ran\"" -DQT_METADATA="$(python3 "$support/qt_plugin_metadata.py" \
      "org.qt-project.Qt.$interface" $keys)"
  done <<'PLUGINS'
platforms QPA.QPlatformIntegrationFactoryInterface.5.3 xcb
platformthemes QPA.QPlatformThemeFactoryInterface.5.1 gtk3 kde gnome xdgdesktopportal
platforminputcontexts QPlatformInputContextFactoryInterface.5.1 ibus fcitx fcitx5 compose
styles QStyleFactoryInterface windows fusion
iconengines QIconEngineFactoryInterface svg
imageformats QImageIOHandlerFactoryInterface png
xcbglintegrations QPA.Xcb.QXcbGlIntegrationFactoryInterface.5.5 xcb_glx xcb_egl
accessiblebridge QAccessibleBridgeFactoryInterface atspi
PLUGINS
  for place in "$folder" "$work/cwd" "$work/elsewhere"; do cp -r "$work/plugins/." "$place"; done
  printf '[Paths]\nPlugins=%s\n' "$work/elsewhere" >"$folder/qt.conf"
  sessions=("GNOME ibus" "KDE fcitx5" "GNOME fcitx" "KDE compose")
fi
for session in "${sessions[@]}"; do
  read -r desktop input <<<"$session"
  status=0
  (cd "$work/cwd"
    export XDG_CURRENT_DESKTOP=$desktop QT_IM_MODULE=$input QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    export QT_PLUGIN_PATH=$work/elsewhere QT_QPA_PLATFORM_PLUGIN_PATH=$work/elsewhere/platforms
    dbus-run-session -- timeout 60 /usr/bin/python3 "$support/atspi_session.py" \
      "$folder/kelvor-launcher" 2>/dev/null) || status=$?
  [ ! -e "$work/planted-ran" ] || fail "under $desktop with $input, these planted plugins ran:" \
    "$(tr '\n' ' ' <"$work/planted-ran")"
  [ "$status" = 0 ] || fail "the session under $desktop with $input"
done
if [ -n "$static" ]; then
  rm -r "$folder/qt.conf"
  for kind in "$work"/plugins/*; do rm -r "$folder/$(basename "$kind")"; done
  echo "no plugin planted beside the launcher, in its working folder or where QT_PLUGIN_PATH,"
  echo "QT_QPA_PLATFORM_PLUGIN_PATH and qt.conf point ran, under: ${sessions[*]}"
fi

# An unreadable path file: the error box shows alone, and the main window only after it.
cp "$work/decoys/appSet" "$folder/appSet"
(cd / && exec "$folder/kelvor-launcher") &
[ "$(shown_window)" = box ] || fail "the error box shows first"
xdotool key Return
for _ in $(seq 100); do [ "$(xdotool search --onlyvisible --name '^Kelvor Launcher$' | wc -l)" = 1 ] &&
  [ "$(shown_window)" = main ] && break; sleep 0.1; done
[ "$(shown_window)" = main ] && [ -f "$folder/appSet.bak" ] ||
  fail "the main window follows the box"
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

if [ -n "$static" ]; then
  # A Debian 12 root holding only the libraries on the players' list (no Qt, no C++ runtime):
  # the launcher unpacked there shows its window on this display.
  if [ -z "${KELVOR_BARE_ROOT:-}" ] || [ "$(id -u)" != 0 ]; then
    echo "not checked here: a start in a bare Debian root (scripts/build-linux makes one, as root)"
  else
    inside=opt/kelvor-launcher-$$
    trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work" "${KELVOR_BARE_ROOT:?}/$inside"' EXIT
    cp -r "$folder" "$KELVOR_BARE_ROOT/$inside"
    cp "$XAUTHORITY" "$KELVOR_BARE_ROOT/$inside/xauthority"
    chroot "$KELVOR_BARE_ROOT" env -i DISPLAY="$DISPLAY" XAUTHORITY="/$inside/xauthority" \
      "/$inside/kelvor-launcher" 2>"$work/bare-root.log" &
    shown=$(shown_window) || fail "no window in the bare root: $(cat "$work/bare-root.log")"
    [ "$shown" = main ] || fail "the main window shows in the bare root, not an error box"
    kill %% && wait %% 2>/dev/null || true
    echo "a bare Debian 12 root with only the listed libraries: the main window"
  fi
fi
