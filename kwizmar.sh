#!/usr/bin/env bash
# Sets up, builds and runs Kwizmar 2002 on Debian 12.
#   ./kwizmar.sh run    install what is missing, build, start with a sample test
#   ./kwizmar.sh test   install what is missing, build, run every test through ctest
#   ./kwizmar.sh package  install what is missing, build, make the Debian package
#                       build/kwizmar_<version>_<arch>.deb
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
  desktop-file-utils dpkg-dev file
)

install_missing() {
  local missing=()
  local p
  for p in "${packages[@]}"; do
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
    cd "$build"
    exec ctest --output-on-failure --timeout 300 -j "$(nproc)"
    ;;
  package)
    install_missing
    configure_and_build
    cd "$build"
    cpack -G DEB
    ;;
  *)
    echo "usage: $0 run [test-file] | test | package" >&2
    exit 2
    ;;
esac
