#!/bin/sh
# The CPU an idle exam page takes, measured from outside on the program as a
# pupil starts it: `kwizmar test.ts2` on a display of its own (Xvfb, with
# openbox unless "nowm" is given), settings of its own with the title still,
# the name typed and the exam started by keys, then the process's own CPU
# time over SECONDS (40 by default) as a share of one core. Each of ROUNDS
# rounds (5 by default) measures, beside it and in the same way, the minimal
# Qt program (minimal_qt from the same build folder) with its window up, so
# that what the machine itself adds shows; the end gives the least and the
# median of each.
#
#     bench/idle_program.sh build/bin/kwizmar [SECONDS] [ROUNDS] [nowm]
set -eu
program=$(realpath "$1")
seconds=${2:-40}
rounds=${3:-5}
wm=${4:-wm}
minimal=$(dirname "$program")/minimal_qt
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done
[ -x "$minimal" ] || { echo "$minimal is missing (build with -DKWIZMAR_BENCH=ON)" >&2; exit 2; }

scratch=$(mktemp -d)
pids=
cleanup() { kill $pids 2>/dev/null || true; rm -rf "$scratch"; }
trap cleanup EXIT INT TERM

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

# Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
# Prints the share of a core the process took over the next SECONDS.
share() {
    before=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    sleep "$seconds"
    after=$(awk '{ print $14 + $15 }' "/proc/$1/stat")
    awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%.3f\n", 100 * t / hz / s }'
}

# The exam program on settings of its own, each round afresh: the exam page
# with the title still.
exam_page() {
    rm -rf "$scratch/home"
    mkdir -p "$scratch/home/config/Nerbaly" "$scratch/home/data"
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Nerbaly\\Kwizmar]\r\n"Scroll"=dword:00000000\r\n' \
        >"$scratch/home/config/Nerbaly/Kwizmar.reg"
    HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/config XDG_DATA_HOME=$scratch/home/data \
        "$program" "$(dirname "$program")/Testy/geografia.ts2" >/dev/null 2>&1 &
    exam=$!
    xdotool search --sync --name "Kwizmar 2002" >/dev/null
    sleep 2 # the splash gone and the test loaded
    [ "$wm" = wm ] || xdotool windowfocus --sync "$(xdotool search --name "Kwizmar 2002" | tail -n 1)"
    xdotool type --delay 40 Ola
    xdotool key Return
    sleep 2
    share "$exam"
    kill "$exam"
    wait "$exam" 2>/dev/null || true
}

minimal_window() {
    "$minimal" >/dev/null 2>&1 &
    other=$!
    sleep 3
    share "$other"
    kill "$other"
    wait "$other" 2>/dev/null || true
}

: >"$scratch/exam"
: >"$scratch/minimal"
round=1
while [ "$round" -le "$rounds" ]; do
    m=$(minimal_window)
    e=$(exam_page)
    echo "$m" >>"$scratch/minimal"
    echo "$e" >>"$scratch/exam"
    echo "round $round over $seconds s: idle exam page $e %, minimal Qt program $m % of a core"
    round=$((round + 1))
done

summary() {
    sort -n "$2" | awk -v what="$1" '{ v[NR] = $1 } END {
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%s: least %.2f %%, median %.2f %% of a core\n", what, v[1], m }'
}
summary "idle exam page, title still" "$scratch/exam"
summary "minimal Qt program" "$scratch/minimal"
