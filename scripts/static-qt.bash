# Sourced by scripts/build-windows and scripts/build-linux, which ship the launcher with Qt
# linked in: a static Qt, built once from Debian's source of Qt 6.4 with our patches and kept in
# a cache keyed by everything that shapes it, and the steps both scripts share.

qt_version=6.4.2
cache=${KELVOR_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kelvor-launcher}

step() { printf '\n=== %s (%s)\n' "$*" "$(date +%T)"; }

# The system's own Debian mirror, for the private sources lists below: the system's apt
# configuration is only read, never changed.
debian_mirror() {
  cat /dev/null /etc/apt/sources.list /etc/apt/sources.list.d/*.sources \
    /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '/^URIs:/ || /^deb / { print $2; exit }' || true
}

# What every platform's Qt leaves out: only what the launcher, its file dialog, its message
# boxes and its tests use is built. The bundled third-party libraries keep the build free of
# anything that is not in Qt's own source, where a platform does not name the system's copy.
qt_common_options=(
  -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF -DFEATURE_jpeg=OFF
  -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_doubleconversion=OFF
  # Nothing the launcher, its file dialog, its message boxes or its tests ever show or call.
  -DFEATURE_style_fusion=OFF -DFEATURE_commandlinkbutton=OFF -DFEATURE_datetimeedit=OFF
  -DFEATURE_textbrowser=OFF -DFEATURE_splashscreen=OFF -DFEATURE_lcdnumber=OFF
  -DFEATURE_fontcombobox=OFF -DFEATURE_toolbox=OFF -DFEATURE_dockwidget=OFF -DFEATURE_mdiarea=OFF
  -DFEATURE_statusbar=OFF -DFEATURE_progressbar=OFF -DFEATURE_dial=OFF -DFEATURE_scroller=OFF
  -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF -DFEATURE_syntaxhighlighter=OFF
  -DFEATURE_calendarwidget=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_colordialog=OFF
  -DFEATURE_fontdialog=OFF -DFEATURE_progressdialog=OFF -DFEATURE_errormessage=OFF
  -DFEATURE_wizard=OFF -DFEATURE_tablewidget=OFF -DFEATURE_treewidget=OFF -DFEATURE_listwidget=OFF
  -DFEATURE_datawidgetmapper=OFF -DFEATURE_columnview=OFF -DFEATURE_undoview=OFF
  -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF -DFEATURE_whatsthis=OFF
  -DFEATURE_statustip=OFF -DFEATURE_sizegrip=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_movie=OFF
  -DFEATURE_pdf=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_sessionmanager=OFF
  -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF -DFEATURE_mimetype=OFF
  -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF -DFEATURE_sha3_fast=OFF
  -DFEATURE_jalalicalendar=OFF -DFEATURE_hijricalendar=OFF -DFEATURE_islamiccivilcalendar=OFF
  -DFEATURE_translation=OFF
  # No library is ever loaded by Qt from disk: QLibrary and QPluginLoader are left out. A static
  # Qt already never scans its plugin folders (QFactoryLoader looks on disk only in a shared
  # build), and every plugin the launcher uses is linked in.
  -DFEATURE_library=OFF
)

# static_qt NAME TOOLCHAIN_FILE|"" OPTION...: sets qt_prefix to a static Qt for NAME, built with
# the common options and then OPTION..., the first time only. An interrupted build is resumed
# where it stopped.
static_qt() {
  local name=$1 toolchain=$2
  shift 2
  local options=("${qt_common_options[@]}" "$@") key work
  key=$(printf '%s\n' "$qt_version" "${options[@]}" | cat - ${toolchain:+"$toolchain"} \
    scripts/qt-patches/*.patch | sha256sum | cut -c1-12)
  qt_prefix=$cache/qt-$qt_version-$name-$key
  if [ -f "$qt_prefix/.complete" ]; then
    echo "Qt $qt_version for $name: cached in $qt_prefix"
    return
  fi
  qt_source
  work=$cache/qt-build-$name-$key
  if [ ! -f "$work/build.ninja" ]; then
    rm -rf "$work"
    step "Configuring Qt for $name"
    cmake -G Ninja -S "$qt_src" -B "$work" -Wno-dev -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
      ${toolchain:+-DCMAKE_TOOLCHAIN_FILE="$PWD/$toolchain"} "${options[@]}" \
      >"$cache/configure-$name.log" ||
      { tail -40 "$cache/configure-$name.log"; exit 1; }
  fi
  step "Building Qt for $name (the first time only: about 15-20 minutes on 2 cores)"
  # One of Ninja's progress lines in every two hundred, so that a log shows it moving.
  cmake --build "$work" --parallel "$(nproc)" |
    awk 'NR % 200 == 1 || /FAILED|error:/ { print; fflush() }'
  cmake --install "$work" >/dev/null
  touch "$qt_prefix/.complete"
  rm -rf "$work"
}

# Sets qt_src to Debian's source of Qt with our patches applied, fetched once into the cache
# and shared by every platform's build.
qt_source() {
  local key work apt_private
  key=$(cat scripts/qt-patches/*.patch | sha256sum | cut -c1-12)
  qt_src=$cache/qtbase-$qt_version-$key
  [ -f "$qt_src/.complete" ] && return
  step "Fetching Qt's source ($qt_version, Debian source package qt6-base)"
  work=$cache/qt-source-download
  rm -rf "$work" "$qt_src" && mkdir -p "$work/apt/lists/partial"
  printf 'deb-src %s bookworm main\n' "$(debian_mirror)" >"$work/apt/qt-source.list"
  grep -q '^deb-src [^ ]' "$work/apt/qt-source.list" ||
    { echo "no Debian mirror configured"; exit 1; }
  apt_private=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt"
    -o "Dir::State::Lists=$work/apt/lists")
  apt-get "${apt_private[@]}" update -qq
  (cd "$work" && apt-get "${apt_private[@]}" source --download-only qt6-base) >/dev/null
  tar -C "$work" -xf "$work"/qt6-base_"$qt_version"*.orig.tar.xz
  for patch in scripts/qt-patches/*.patch; do
    patch -d "$work/qtbase-everywhere-src-$qt_version" -p1 -s <"$patch"
  done
  mv "$work/qtbase-everywhere-src-$qt_version" "$qt_src"
  touch "$qt_src/.complete"
  rm -rf "$work"
}

# rebuild_and_compare PRESET PACKAGE PROGRAM: a player can check that the package was built from
# the source it carries. Built again from that source, in another folder and without git, the
# program and the package are the same bytes; any difference fails.
rebuild_and_compare() {
  local preset=$1 package=$2 program=$3 again first second
  step "Building again from the source in the package, to compare"
  again=$(mktemp -d)
  temporary+=("$again")
  (cd "$again" && cmake -E tar xf "$OLDPWD/$package")
  (cd "$again" && cmake -E tar xf kelvor-launcher-*/kelvor-launcher-*-source.zip)
  (cd "$again"/kelvor-launcher-*-source && unset SOURCE_DATE_EPOCH &&
    SOURCE_DATE_EPOCH=$(python3 cmake/reproducible.py epoch) && export SOURCE_DATE_EPOCH &&
    cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" --target kelvor-launcher help_file >/dev/null &&
    cpack --preset "$preset" >/dev/null)
  sums() {  # the program inside the package, then the package
    local inside
    inside=$(mktemp -d)
    (cd "$inside" && cmake -E tar xf "$1")
    sha256sum <"$(echo "$inside"/kelvor-launcher-*/"$program")" | cut -c1-64
    sha256sum <"$1" | cut -c1-64
    rm -rf "$inside"
  }
  first=$(sums "$PWD/$package")
  second=$(sums "$(echo "$again"/kelvor-launcher-*-source)/$package")
  printf '%s and the package, as built here:\n%s\nand built again from its source:\n%s\n' \
    "$program" "$first" "$second"
  [ "$first" = "$second" ] || { echo "FAIL: the two builds differ"; exit 1; }
  rm -rf "$again"
}
