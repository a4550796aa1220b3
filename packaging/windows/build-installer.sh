#!/usr/bin/env bash
# Makes the Windows installer from a Windows build of the program:
#   packaging/windows/build-installer.sh BUILD_BIN QT_PREFIX OUTDIR
# lays the program out in OUTDIR/stage (stage.sh) and packs it with NSIS into
# OUTDIR/kwizmar-setup-<version>.exe (package nsis), with the helper that
# closes running programs (kwizmar-instalator.exe of the build) inside.
set -euo pipefail

[ $# -eq 3 ] || { echo "usage: build-installer.sh BUILD_BIN QT_PREFIX OUTDIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$3"
out=$(cd "$3" && pwd)
command -v makensis >/dev/null || { echo "build-installer.sh: makensis is missing (package nsis)" >&2; exit 1; }

"$here/stage.sh" "$1" "$2" "$out/stage"
bin=$(cd "$1" && pwd)
[ -f "$bin/kwizmar-instalator.exe" ] || { echo "build-installer.sh: no kwizmar-instalator.exe in $1" >&2; exit 1; }
makensis -V2 -INPUTCHARSET UTF8 -DSTAGE="$out/stage" -DHELPER="$bin/kwizmar-instalator.exe" \
  -DOUTDIR="$out" "$here/kwizmar.nsi"
ls "$out"/kwizmar-setup-*.exe
