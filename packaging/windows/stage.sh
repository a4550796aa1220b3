#!/usr/bin/env bash
# Lays out the program as it is installed on Windows, for the installer
# (kwizmar.nsi) to pack:
#   packaging/windows/stage.sh BUILD_BIN QT_PREFIX STAGE
# BUILD_BIN is the bin folder of the Windows build (the programs, Testy/,
# help/), QT_PREFIX the Qt for Windows they were built with, STAGE the folder
# made (a folder this script made before is replaced; any other is refused).
#
# What goes in:
#   the programs of the build among kwizmar.exe, kwizmar-edytor.exe,
#     kwizmar-ts2.exe and kwizmar-wyniki.exe (the exam program must be there);
#   Testy/*.ts2, help/ and the program's icon KwIc.ico;
#   the DLLs the programs and plugins import, found in BUILD_BIN and
#     QT_PREFIX/bin (and the folders of KWIZMAR_DLL_PATH, separated by ":"),
#     followed through their own imports;
#   the plugins Qt loads at run time, by the Qt libraries staged:
#     Qt6Gui    platforms/qwindows.dll, styles/qwindowsvistastyle.dll (if built)
#     Qt6Network tls/qschannelbackend.dll (the update check asks over https)
#   (printing needs no plugin: Qt 6 prints on Windows from Qt6PrintSupport.dll;
#   the program's pictures are PNG, compiled in, which Qt6Gui reads itself);
#   with Qt, translations/qtbase_pl.qm, the Polish texts of Qt's own dialogs,
#     from the host's Qt of the same version (QT_TRANSLATIONS, by default
#     /usr/share/qt6/translations), and a qt.conf that makes the program's
#     folder Qt's prefix, so that QLibraryInfo finds them there.
# A DLL that is neither found nor a Windows DLL stops the script: the
# program would not start where it is installed.
set -euo pipefail

die() {
  echo "stage.sh: $*" >&2
  exit 1
}

[ $# -eq 3 ] || die "usage: stage.sh BUILD_BIN QT_PREFIX STAGE"
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd) || die "no build folder $1"
qt=$(cd "$2" && pwd) || die "no Qt folder $2"
stage=$3
translations=${QT_TRANSLATIONS:-/usr/share/qt6/translations}
triple=x86_64-w64-mingw32
objdump=$triple-objdump
strip=$triple-strip
command -v "$objdump" >/dev/null || die "$objdump is missing (package binutils-mingw-w64-x86-64)"

marker=.kwizmar-stage
if [ -e "$stage" ]; then
  [ -f "$stage/$marker" ] || die "$stage exists and was not made by this script; not replacing it"
  rm -rf "$stage"
fi
mkdir -p "$stage"
stage=$(cd "$stage" && pwd)
: >"$stage/$marker"

# The folders searched for the DLLs the programs import.
search=("$bin" "$qt/bin")
if [ -n "${KWIZMAR_DLL_PATH:-}" ]; then
  IFS=: read -r -a extra <<<"$KWIZMAR_DLL_PATH"
  search+=("${extra[@]}")
fi

# Windows' own DLLs are those the MinGW-w64 toolchain has an import library
# for (libkernel32.a, libuxtheme.a, ...), and the API sets; the C runtimes of
# Visual C++ have import libraries too but do not come with Windows.
mingw_lib=$(dirname "$($triple-gcc-posix -print-file-name=libkernel32.a)")
[ -f "$mingw_lib/libkernel32.a" ] || die "MinGW-w64's import libraries not found"
is_windows_dll() {
  local name=${1%.*}
  case $name in
    api-ms-win-* | ext-ms-win-*) return 0 ;;
    msvcr[0-9]* | msvcp* | vcruntime* | ucrtbased) return 1 ;;
  esac
  [ -f "$mingw_lib/lib$name.a" ]
}

imports() {
  "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: \(.*\)$/\1/p' | tr -d '\r'
}

# The DLL of that name (any case) in the search folders, or nothing.
find_dll() {
  local folder found
  for folder in "${search[@]}"; do
    [ -d "$folder" ] || continue
    found=$(find "$folder" -maxdepth 1 -type f -iname "$1" -print -quit)
    if [ -n "$found" ]; then
      echo "$found"
      return
    fi
  done
}

declare -A staged=()   # lower-case DLL name -> its file in the stage
queue=()               # staged files whose imports are still to be read

put() { # source, folder in the stage ("" for the top)
  local target=$stage${2:+/$2}
  mkdir -p "$target"
  cp "$1" "$target/"
  local file
  file=$target/$(basename "$1")
  "$strip" --strip-unneeded "$file"
  queue+=("$file")
}

follow_imports() {
  local file name lower found
  while [ ${#queue[@]} -gt 0 ]; do
    file=${queue[0]}
    queue=("${queue[@]:1}")
    while read -r name; do
      [ -n "$name" ] || continue
      lower=${name,,}
      [ -z "${staged[$lower]:-}" ] || continue
      if is_windows_dll "$lower"; then
        staged[$lower]=windows
        continue
      fi
      found=$(find_dll "$name")
      [ -n "$found" ] || die "${file#"$stage"/} imports $name, which is not a Windows DLL and is in none of: ${search[*]}"
      staged[$lower]=$stage/$(basename "$found")
      put "$found" ""
    done < <(imports "$file")
  done
}

programs=()
for program in kwizmar.exe kwizmar-edytor.exe kwizmar-ts2.exe kwizmar-wyniki.exe; do
  [ -f "$bin/$program" ] || continue
  put "$bin/$program" ""
  programs+=("$program")
done
[ -f "$stage/kwizmar.exe" ] || die "no kwizmar.exe in $bin"
follow_imports

# The plugins of the Qt libraries staged.
plugin() { # Qt library, plugin, required or optional
  [ -n "${staged[${1,,}]:-}" ] || return 0
  if [ ! -f "$qt/plugins/$2" ]; then
    [ "$3" = optional ] && return 0
    die "$1 is staged but its plugin $qt/plugins/$2 is missing"
  fi
  put "$qt/plugins/$2" "$(dirname "$2")"
}
plugin Qt6Gui.dll platforms/qwindows.dll required
plugin Qt6Widgets.dll styles/qwindowsvistastyle.dll optional
plugin Qt6Network.dll tls/qschannelbackend.dll required
follow_imports

if [ -n "${staged[qt6core.dll]:-}" ]; then
  # The Polish texts must be those of the same Qt.
  qt_version=$(sed -n 's/^#define QT_VERSION_STR "\(.*\)"$/\1/p' "$qt/include/QtCore/qconfig.h" \
    2>/dev/null || true)
  [ -n "$qt_version" ] || die "no Qt version in $qt/include/QtCore/qconfig.h"
  if [ -z "${QT_TRANSLATIONS:-}" ]; then
    host_version=$(dpkg-query -W -f='${Version}' qt6-translations-l10n 2>/dev/null || true)
    host_version=${host_version%%-*}
    host_version=${host_version%%+*}
    [ "$host_version" = "$qt_version" ] ||
      die "the Polish texts of Qt are those of Qt ${host_version:-(none installed)}, the programs use Qt $qt_version (package qt6-translations-l10n; or QT_TRANSLATIONS=folder)"
  fi
  [ -f "$translations/qtbase_pl.qm" ] || die "no qtbase_pl.qm in $translations"
  mkdir -p "$stage/translations"
  cp "$translations/qtbase_pl.qm" "$stage/translations/"
  printf '%s\r\n' '[Paths]' 'Prefix=.' 'Plugins=.' 'Translations=translations' >"$stage/qt.conf"
fi

# The sample tests, the help page and the icon.
compgen -G "$bin/Testy/*.ts2" >/dev/null || die "no sample tests in $bin/Testy"
mkdir -p "$stage/Testy"
cp "$bin"/Testy/*.ts2 "$stage/Testy/"
[ -d "$bin/help" ] || die "no help folder in $bin"
cp -R "$bin/help" "$stage/help"
cp "$here/../KwIc.ico" "$stage/"
# The administrative template of the lab's values, for a domain's Group Policy.
cp -R "$here/policy" "$stage/policy"

echo "Staged in $stage: ${programs[*]}; $(find "$stage" -name '*.dll' | wc -l) DLLs and plugins," \
  "$(du -sh "$stage" | cut -f1)"
