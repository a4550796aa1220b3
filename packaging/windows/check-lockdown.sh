#!/usr/bin/env bash
# Checks the desktop and taskbar lockdown of the Windows program under Wine,
# in a virtual desktop with Wine's own taskbar (the desktop named "shell"):
#   packaging/windows/check-lockdown.sh BIN_DIR QT_PREFIX
#   1. with the lockdown stored in the settings, starting kwizmar.exe hides the
#      taskbar, and "Zamknij" (Alt+Z) brings it back;
#   2. a run killed outright (nothing of the program runs to lift anything)
#      leaves the taskbar hidden, and the next start, with the lockdown now
#      switched off, brings it back before its window comes up.
# The taskbar is seen as a pupil sees it: a strip of the screen's pixels at
# its place, light where the taskbar is drawn, the desktop's blue where not.
set -euo pipefail

fail() {
  if [ -n "${KWIZMAR_SCREENSHOT:-}" ] && [ -n "${DISPLAY:-}" ]; then
    import -silent -window root "$KWIZMAR_SCREENSHOT" 2>/dev/null || true
    set -- "$*; the screen is in $KWIZMAR_SCREENSHOT"
  fi
  echo "check-lockdown.sh: FAILED: $*" >&2
  exit 1
}
[ $# -eq 2 ] || { echo "usage: check-lockdown.sh BIN_DIR QT_PREFIX" >&2; exit 2; }
bin=$(cd "$1" && pwd)
qt=$(cd "$2" && pwd)
[ -f "$bin/kwizmar.exe" ] || fail "no kwizmar.exe in $bin"

# On a virtual display of its own, the size of Wine's desktop.
if [ -z "${KWIZMAR_CHECK_DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" env KWIZMAR_CHECK_DISPLAY=1 "$0" "$@"
fi

prefix=$(mktemp -d "${TMPDIR:-/tmp}/kwizmar-lockdown-wine.XXXXXX")
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPATH="Z:${qt//\//\\}\\bin"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
wine wineboot --init >/dev/null 2>&1
wineserver -w

lockdown() { # 1 stores the desktop and taskbar lockdown on, 0 off
  local name
  for name in DesktopEnabled TaskBarEnabled; do
    wine reg add 'HKCU\Software\Nerbaly\Kwizmar' /v "$name" /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  done
}

# The taskbar's left end: Wine draws it in the bottom 20 rows of the desktop.
taskbar_shown() {
  local mean
  mean=$(import -silent -window root -crop 60x20+0+748 -format '%[fx:mean]' info: 2>/dev/null) || return 1
  awk -v m="$mean" 'BEGIN { exit !(m > 0.6) }'
}

wait_until() { # what is awaited (shown|hidden), what is said on failure
  local tries=0
  while true; do
    if [ "$1" = shown ] && taskbar_shown; then return 0; fi
    if [ "$1" = hidden ] && ! taskbar_shown; then return 0; fi
    tries=$((tries + 1))
    [ "$tries" -le 120 ] || fail "$2"
    sleep 0.5
  done
}

desktop() { # starts a program in the desktop "shell", which has a taskbar
  (cd "$bin" && wine explorer /desktop=shell,1024x768 "$@" >/dev/null 2>&1 &)
}

lockdown 1
# Notepad, minimised, holds the desktop open between the program's runs.
desktop cmd /c start /min notepad
wait_until shown "Wine's virtual desktop showed no taskbar"

echo "Starting kwizmar.exe with the lockdown stored"
desktop kwizmar.exe
wait_until hidden "the taskbar stayed on screen with the lockdown stored"
sleep 3 # the window's first steps
# The keys go to Wine's desktop window, which hands them to the program.
xdotool search --name '^shell - Wine desktop$' windowfocus --sync key alt+z
wait_until shown "closing the program by \"Zamknij\" left the taskbar hidden"
echo "Hidden while the program ran, back once it was closed"

echo "Killing kwizmar.exe outright"
desktop kwizmar.exe
wait_until hidden "the taskbar stayed on screen with the lockdown stored"
sleep 3
pkill -9 -f 'kwizmar\.exe'
sleep 3
! taskbar_shown || fail "the taskbar came back after a kill; this check no longer sees the taskbar"
lockdown 0
desktop kwizmar.exe
wait_until shown "the next start did not lift the lockdown its killed run left"
echo "The next start lifted what the killed run left"

echo "check-lockdown.sh: the lockdown hides Wine's taskbar and is lifted on closing and after a kill"
