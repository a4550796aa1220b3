#!/usr/bin/env bash
# Sets up, builds and runs Kwizmar 2002 on Debian 12.
#   ./kwizmar.sh run    install what is missing, build, start with a sample test
#   ./kwizmar.sh test   install what is missing, build, run every test through ctest
#                       (where CI is set, the sanitizer suite and the plain-C++
#                       suites for Windows below as well)
#   ./kwizmar.sh package  install what is missing, build, make the Debian package
#                       build/kwizmar_<version>_<arch>.deb
#   ./kwizmar.sh sanitize
#                       the whole test suite built with AddressSanitizer and
#                       UndefinedBehaviorSanitizer in build-sanitize/, run through ctest
#   ./kwizmar.sh fuzz TARGET [SECONDS] [libFuzzer options ...]
#                       build the fuzz targets in build-fuzz/ and fuzz one of them
#   ./kwizmar.sh windows
#                       install what is missing, build Qt and libxlsxwriter for Windows
#                       once per machine (cached in ~/.cache/kwizmar), cross-build the
#                       programs and their test suites in build-windows/, run them under
#                       Wine in a throw-away Wine prefix
#   ./kwizmar.sh windows-plain
#                       the libraries of plain C++ and their suites for Windows,
#                       without Qt, in build-windows-plain/, run under Wine
#   ./kwizmar.sh windows-qt
#                       only the cached Qt for Windows (about an hour on two cores)
# All are idempotent: with everything in place they only rebuild what changed.
set -euo pipefail

cd "$(dirname "$0")"
root=$PWD
build=$root/build

packages=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n libxcb1-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth x11-utils x11-xkb-utils xdotool imagemagick poppler-utils openbox
  desktop-file-utils dpkg-dev file lintian
  xdg-utils libfile-mimeinfo-perl libglib2.0-bin shared-mime-info
  clang libclang-rt-dev
  samba smbnetfs fuse3 openssh-server openssh-client sshfs
  libxlsxwriter-dev python3-openpyxl libreoffice-calc
  # The window managers schools' desktops run, for the lockdown's tests
  # (marco needs MATE's settings schemas, xfwm4 and marco a session bus).
  xfwm4 marco mate-settings-daemon-common metacity icewm fluxbox kwin-x11 dbus-daemon
  # The screen reader's tests: the accessibility bus, pyatspi, and Orca, whose
  # debug log holds what it says (no voice or sound card needed).
  at-spi2-core python3-pyatspi gir1.2-atspi-2.0 orca
)

# The packages of the Windows build: the MinGW-w64 cross compilers (posix
# threads, as Qt for Windows needs them), GoogleTest's sources, Wine, a
# virtual display for the tests that make windows, and NSIS for the installer.
windows_packages=(
  cmake ninja-build ccache
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest wine wine64 xvfb xauth dpkg-dev libz-mingw-w64-dev
  nsis xdotool imagemagick locales
)
# Of those, what the plain-C++ suites for Windows need (CI runs them).
windows_plain_packages=(
  cmake ninja-build ccache
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest wine wine64 xvfb xauth locales
)

# Installs those of the packages named (by default the ones above) that are missing.
install_missing() {
  local wanted=("$@")
  [ ${#wanted[@]} -eq 0 ] && wanted=("${packages[@]}")
  local missing=()
  local p
  for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
  fi
  cmake --build "$build" --parallel "$(nproc)"
}

# The suite with both sanitizers, in a build folder of its own. Undefined
# behaviour stops a test as a memory error does; what the system's libraries
# keep until the end (the session bus connection of Qt) is named in fuzz/lsan.supp.
sanitize() {
  local folder=$root/build-sanitize
  if [ ! -f "$folder/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKWIZMAR_SANITIZE=ON
  fi
  cmake --build "$folder" --parallel "$(nproc)"
  (
    cd "$folder"
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0
    ctest --output-on-failure --timeout 600 -j "$(nproc)"
  )
}

# Qt for Windows, cross-built once per machine from Debian's source package of
# the host's Qt (the same version, so the host's moc, rcc and uic serve it) and
# kept in ~/.cache/kwizmar, keyed by the version and the configure flags. Qt
# stays in its DLLs (the LGPL's terms for a closed program); the C and C++
# runtimes and the threads library go into each of them, so nothing of the
# compiler's is shipped.
qt_version=6.4.2
qt_windows_flags=(
  -DCMAKE_BUILD_TYPE=Release -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF
  "-DCMAKE_SHARED_LINKER_FLAGS=-static" "-DCMAKE_MODULE_LINKER_FLAGS=-static" -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF
  -DFEATURE_dynamicgl=OFF -DFEATURE_concurrent=OFF -DFEATURE_tabletevent=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_jpeg=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_doubleconversion=OFF
)
qt_windows() {
  local key
  key=$(printf '%s\n' "$qt_version" "${qt_windows_flags[@]}" | sha1sum | cut -c1-8)
  qt_windows_prefix=${XDG_CACHE_HOME:-$HOME/.cache}/kwizmar/qt-$qt_version-mingw-$key
  [ -x "$qt_windows_prefix/bin/qt-cmake" ] && return 0
  local work=${XDG_CACHE_HOME:-$HOME/.cache}/kwizmar/qt-$qt_version-mingw-work
  mkdir -p "$work"
  if [ ! -d "$work/source" ]; then
    # Debian's source package, from the archive the system installs from.
    if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ &&
       ! grep -qs '^deb-src' /etc/apt/sources.list; then
      local sudo=()
      [ "$(id -u)" -eq 0 ] || sudo=(sudo)
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        "${sudo[@]}" tee /etc/apt/sources.list.d/kwizmar-deb-src.sources >/dev/null
      "${sudo[@]}" apt-get update -q
    fi
    (cd "$work" && rm -rf qt6-base* && apt-get source -q "qt6-base" &&
      mv "qt6-base-$qt_version"*/ source)
  fi
  echo "Building Qt $qt_version for Windows into $qt_windows_prefix (once per machine, about an hour on two cores)"
  local started=$SECONDS
  # A build begun with other flags starts again.
  [ "$(cat "$work/key" 2>/dev/null)" = "$key" ] || rm -rf "$work/build"
  echo "$key" >"$work/key"
  cmake -S "$work/source" -B "$work/build" -G Ninja "${qt_windows_flags[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt_windows_prefix"
  nice -n 19 cmake --build "$work/build" --parallel "$(nproc)"
  cmake --install "$work/build"
  echo "Qt for Windows built in $(( (SECONDS - started) / 60 )) min"
  rm -rf "$work"
}

# libxlsxwriter for Windows (the workbook export), built the same way from
# Debian's source package with its own minizip, a static library over the
# MinGW-w64 zlib; kept in ~/.cache/kwizmar.
xlsxwriter_version=1.1.4
xlsxwriter_windows() {
  xlsxwriter_windows_prefix=${XDG_CACHE_HOME:-$HOME/.cache}/kwizmar/libxlsxwriter-$xlsxwriter_version-mingw
  [ -f "$xlsxwriter_windows_prefix/lib/pkgconfig/xlsxwriter.pc" ] && return 0
  local work
  work=$(mktemp -d "${TMPDIR:-/tmp}/kwizmar-xlsxwriter.XXXXXX")
  (
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    apt-get source -q libxlsxwriter >/dev/null
    cmake -S "libxlsxwriter-$xlsxwriter_version" -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DBUILD_SHARED_LIBS=OFF \
      -DCMAKE_INSTALL_PREFIX="$xlsxwriter_windows_prefix" >/dev/null
    cmake --build build --parallel "$(nproc)" >/dev/null
    cmake --install build >/dev/null
  )
}

# Wine takes its Windows' regional settings from the locale it runs in: the
# Polish one is made where the system lacks it (package locales).
polish_locale() {
  locale -a 2>/dev/null | grep -qix 'pl_PL.utf8' && return 0
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  if grep -q '^# *pl_PL.UTF-8 UTF-8' /etc/locale.gen; then
    "${sudo[@]}" sed -i 's/^# *pl_PL.UTF-8 UTF-8/pl_PL.UTF-8 UTF-8/' /etc/locale.gen
  else
    echo 'pl_PL.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo[@]}" locale-gen >/dev/null
}

# Runs the suites of a Windows build folder through ctest under Wine (64-bit
# only) in a Wine prefix made for this run and removed after it; the windows go
# to Xvfb. The optional second argument is Wine's path (where the Qt DLLs are).
wine_ctest() {
  local folder=$1 winepath=${2:-}
  polish_locale
  local prefix
  prefix=$(mktemp -d "${TMPDIR:-/tmp}/kwizmar-wine.XXXXXX")
  (
    # Without Wine's .NET and HTML engines, which nothing here needs and whose
    # installers would ask.
    export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -z "$winepath" ] || export WINEPATH=$winepath
    trap 'wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
    wine wineboot --init
    wineserver -w
    cd "$folder"
    # A Polish Windows (the log's dates and times in its regional format) on a
    # virtual display. One Wine server for the whole run, so that the test
    # programs ctest starts side by side never race to start one; and Wine's
    # own services (its desktop among them) started first, on that display:
    # started by a test program, they would hold the pipe that ctest reads
    # that program's list of tests from.
    LC_ALL=pl_PL.UTF-8 xvfb-run -a bash -c 'wineserver -p && wine cmd /c exit </dev/null >/dev/null 2>&1
      ctest --output-on-failure --timeout 300 -j "$1"' ctest "$(nproc)"
  )
}

# The whole program and its suites built for 64-bit Windows against the Qt
# and libxlsxwriter above and run under Wine; the programs find the Qt DLLs on
# Wine's path, and Qt its plugins beside them.
windows() {
  qt_windows
  xlsxwriter_windows
  local folder=$root/build-windows
  if [ ! -f "$folder/build.ninja" ] || ! grep -q "^KWIZMAR_WITH_QT:BOOL=ON" "$folder/CMakeCache.txt"; then
    rm -rf "$folder"
    PKG_CONFIG_LIBDIR=$xlsxwriter_windows_prefix/lib/pkgconfig \
      "$qt_windows_prefix/bin/qt-cmake" -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_FIND_ROOT_PATH="/usr/x86_64-w64-mingw32;$qt_windows_prefix;$xlsxwriter_windows_prefix"
  fi
  cmake --build "$folder" --parallel "$(nproc)"
  wine_ctest "$folder" "Z:${qt_windows_prefix//\//\\}\\bin"
  # The installer, made from the programs, and checked in a Wine prefix of its
  # own: installed silently, started from the Start menu and through a test
  # file, installed again, uninstalled with the results log kept.
  nice packaging/windows/build-installer.sh "$folder/bin" "$qt_windows_prefix" "$folder/installer"
  nice packaging/windows/check-installer.sh "$(ls "$folder"/installer/kwizmar-setup-*.exe)" \
    "$folder/installer/stage"
  # The desktop and taskbar lockdown in a Wine desktop with a taskbar:
  # hidden while the program runs, back when it closes or starts after a kill.
  packaging/windows/check-lockdown.sh "$folder/bin" "$qt_windows_prefix"
}

# The plain-C++ libraries and their suites (everything but the windows) built
# for 64-bit Windows without Qt, in build-windows-plain/, and run under Wine:
# what CI runs on every change, in minutes where the whole build above takes
# half an hour.
windows_plain() {
  local folder=$root/build-windows-plain
  if [ ! -f "$folder/build.ninja" ]; then
    cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKWIZMAR_WITH_QT=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
  fi
  cmake --build "$folder" --parallel "$(nproc)"
  wine_ctest "$folder"
}

fuzz_targets=(test_file results_log settings_file update_file test_source exam_journal aiken_import
  gift_import answer_records)

# Fuzzes one target from its seeds (fuzz/corpus/<target>/) and the inputs that
# once broke it (fuzz/regressions/<target>/) with its dictionary; what it
# learns stays in build-fuzz/corpus/<target>/, what it finds goes to
# build-fuzz/findings/<target>/.
fuzz() {
  local target=${1:-} seconds=${2:-600}
  if [[ ! " ${fuzz_targets[*]} " == *" $target "* ]]; then
    echo "usage: $0 fuzz TARGET [seconds] [libFuzzer options ...]; targets: ${fuzz_targets[*]}" >&2
    exit 2
  fi
  shift $(( $# < 2 ? $# : 2 ))
  local folder=$root/build-fuzz
  if [ ! -f "$folder/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKWIZMAR_FUZZ=ON
  fi
  cmake --build "$folder" --parallel "$(nproc)" --target "fuzz_$target"
  local learnt=$folder/corpus/$target findings=$folder/findings/$target
  mkdir -p "$learnt" "$findings"
  local seeds=("$root/fuzz/corpus/$target")
  [ -d "$root/fuzz/regressions/$target" ] && seeds+=("$root/fuzz/regressions/$target")
  exec "$folder/bin/fuzz_$target" -dict="$root/fuzz/$target.dict" -max_total_time="$seconds" \
    -artifact_prefix="$findings/" -print_final_stats=1 "$@" "$learnt" "${seeds[@]}"
}

case "${1:-}" in
  run)
    install_missing
    configure_and_build
    shift
    test_file=${1:-$build/bin/Testy/geografia.ts2}
    exec "$build/bin/kwizmar" "$test_file"
    ;;
  test)
    install_missing
    configure_and_build
    (cd "$build" && ctest --output-on-failure --timeout 300 -j "$(nproc)")
    if [ -n "${CI:-}" ]; then
      sanitize
      install_missing "${windows_plain_packages[@]}"
      windows_plain
    fi
    ;;
  sanitize)
    install_missing
    sanitize
    ;;
  fuzz)
    install_missing
    shift
    fuzz "$@"
    ;;
  windows)
    install_missing "${windows_packages[@]}"
    windows
    ;;
  windows-plain)
    install_missing "${windows_plain_packages[@]}"
    windows_plain
    ;;
  windows-qt)
    install_missing "${windows_packages[@]}"
    qt_windows
    echo "$qt_windows_prefix"
    ;;
  package)
    install_missing
    configure_and_build
    cd "$build"
    cpack -G DEB
    ;;
  *)
    echo "usage: $0 run [test-file] | test | package | sanitize | fuzz target [seconds] | windows | windows-plain | windows-qt" >&2
    exit 2
    ;;
esac
