#!/bin/sh
# Writes the NSIS macros that install and remove the files of a stage made by
# stage.sh; kwizmar.nsi runs it while it is compiled, so that the installer
# and its uninstaller always name the same files:
#   KWIZMAR_INSTALL_FILES  SetOutPath and File for every folder and file
#   KWIZMAR_REMOVE_FILES   Delete for every file, then RMDir for every folder,
#                          deepest first (a folder something else was put in
#                          stays)
set -eu

[ $# -eq 1 ] || { echo "usage: nsis-files.sh STAGE" >&2; exit 2; }
cd "$1"
stage=$(pwd)
stage_nsis=$(printf '%s' "$stage" | sed 's|\$|$$|g')
[ -f .kwizmar-stage ] || { echo "nsis-files.sh: $stage is not a stage made by stage.sh" >&2; exit 1; }

# A path of the stage as NSIS writes it under $INSTDIR: backslashes, and "$"
# doubled.
nsis_path() {
  printf '%s' "$1" | sed -e 's|^\./||' -e 's|^\.$||' -e 's|/|\\|g' -e 's|\$|$$|g'
}

echo '!macro KWIZMAR_INSTALL_FILES'
find . -type d | LC_ALL=C sort | while IFS= read -r folder; do
  under=$(nsis_path "$folder")
  printf '  SetOutPath "$INSTDIR%s"\n' "${under:+\\$under}"
  find "$folder" -mindepth 1 -maxdepth 1 -type f ! -name .kwizmar-stage | LC_ALL=C sort |
    while IFS= read -r file; do
      printf '  File "%s/%s"\n' "$stage_nsis" "$(printf '%s' "${file#./}" | sed 's|\$|$$|g')"
    done
done
echo '!macroend'

echo '!macro KWIZMAR_REMOVE_FILES'
find . -type f ! -name .kwizmar-stage | LC_ALL=C sort | while IFS= read -r file; do
  printf '  Delete "$INSTDIR\\%s"\n' "$(nsis_path "$file")"
done
find . -mindepth 1 -type d | LC_ALL=C sort -r | while IFS= read -r folder; do
  printf '  RMDir "$INSTDIR\\%s"\n' "$(nsis_path "$folder")"
done
echo '!macroend'
