#!/usr/bin/env bash
# Renders the pictures the build takes from the SVG sources, so that the build
# needs no SVG renderer (rsvg-convert, Debian package librsvg2-bin):
#   icons/*.svg             → icons/png/<name>-<size>.png and <name>-<size>@2x.png,
#                             at the sizes the buttons show them
#   packaging/kwizmar.svg, packaging/kwizmar-test.svg
#                           → packaging/hicolor/<size>x<size>/{apps,mimetypes}/*.png
# Run it after changing a source and commit the pictures.
set -euo pipefail
cd "$(dirname "$0")/.."

# The sizes each button picture is shown at: 30 on the speed buttons, 20 on the
# verdict's "OK", 16 on the about window's buttons.
sizes() {
  case $1 in
    next) echo 30 20 ;;
    check) echo 30 16 ;;
    download | help) echo 16 ;;
    *) echo 30 ;;
  esac
}

render() { # source, size, target
  rsvg-convert --width "$2" --height "$2" --output "$3" "$1"
}

rm -rf icons/png
mkdir -p icons/png
for source in icons/*.svg; do
  name=$(basename "$source" .svg)
  for size in $(sizes "$name"); do
    render "$source" "$size" "icons/png/$name-$size.png"
    render "$source" $((size * 2)) "icons/png/$name-$size@2x.png"
  done
done

rm -rf packaging/hicolor
for size in 16 32 48 64 128 256; do
  mkdir -p "packaging/hicolor/${size}x$size/apps" "packaging/hicolor/${size}x$size/mimetypes"
  render packaging/kwizmar.svg "$size" "packaging/hicolor/${size}x$size/apps/kwizmar.png"
  render packaging/kwizmar-test.svg "$size" \
    "packaging/hicolor/${size}x$size/mimetypes/application-x-kwizmar-test.png"
done
