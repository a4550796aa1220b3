#!/bin/sh
# The CPU an idle exam page takes, measured from outside on the program as a
# pupil starts it: `kwizmar test.ts2` on a display of its own (Xvfb, with
# openbox unless "nowm" is given), settings of its own with the title still,
# the name typed and the exam started by keys, then the process's own CPU
# time over SECONDS (40 by default) as a share of one core.
#
#     bench/idle_program.sh build/bin/kwizmar [SECONDS] [nowm]
set -eu
program=$(realpath "$1")
seconds=${2:-40}
wm=${3:-wm}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

scratch=$(mktemp -d)
pids=
cleanup() { kill $pids 2>/dev/null || true; rm -rf "$scratch"; }
trap cleanup EXIT INT TERM
mkdir -p "$scratch/config/Nerbaly" "$scratch/data"
printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\r\n"Scroll"=dword:00000000\r\n' \
    >"$scratch/config/Nerbaly/Kwizmar.reg"

Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$scratch/display" >/dev/null 2>&1 &
pids="$!"
while [ ! -s "$scratch/display" ]; do sleep 0.1; done
DISPLAY=:$(cat "$scratch/display")
export DISPLAY
if [ "$wm" = wm ]; then
    openbox >/dev/null 2>&1 &
    pids="$pids $!"
    sleep 1
fi

HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data \
    "$program" "$(dirname "$program")/Testy/geografia.ts2" >/dev/null 2>&1 &
kwizmar=$!
pids="$pids $kwizmar"
xdotool search --sync --name "Kwizmar 2002" >/dev/null
sleep 2 # the splash gone and the test loaded
[ "$wm" = wm ] || xdotool windowfocus --sync "$(xdotool search --name "Kwizmar 2002" | tail -n 1)"
xdotool type --delay 40 Ola
xdotool key Return
sleep 2

# Field 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
ticks() { awk '{ print $14 + $15 }' "/proc/$kwizmar/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
    'BEGIN { printf "idle exam page of the program over %d s: %.2f s of CPU, %.2f %% of a core\n", s, t / hz, 100 * t / hz / s }'
