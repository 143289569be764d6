#!/bin/sh
# The desktop clock's cost, measured from outside on the real Jotstack.exe
# under Wine: CPU time of the program (and of the X server and wineserver
# it keeps busy) over a minute with the clock, its second hand and the moon
# shown, and over a minute with the clock off, for comparison.
#
#   scripts/bench-clock.sh [seconds]     (default 60)
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
SECONDS_TO_MEASURE=${1:-60}
. "$JOT_ROOT/scripts/machine.sh"
# JOT_FLAVOUR=win32 or win64 picks the program (default: win32 where it runs).
export JOT_FLAVOUR=${JOT_FLAVOUR:-$JOT_DEFAULT_FLAVOUR}
cmake --preset $JOT_FLAVOUR >/dev/null
cmake --build --preset $JOT_FLAVOUR --target Jotstack >/dev/null
. "$JOT_ROOT/scripts/wine-env.sh"
HZ=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks (0 when it is gone).
cpu_ticks() {
    if [ -r "/proc/$1/stat" ]; then
        sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'
    else
        echo 0
    fi
}

# The Linux process running a given Windows executable path.
find_process() {
    for p in /proc/[0-9]*; do
        if { tr '\0' ' ' < "$p/cmdline"; } 2>/dev/null | grep -qF "$1"; then
            basename "$p"
            return 0
        fi
    done
    return 1
}

# The wineserver of our prefix.
find_wineserver() {
    for p in /proc/[0-9]*; do
        case "$({ tr '\0' ' ' < "$p/cmdline"; } 2>/dev/null)" in
        *wineserver*)
            if { tr '\0' '\n' < "$p/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
                basename "$p"
                return 0
            fi ;;
        esac
    done
    return 1
}

measure() {   # $1: 1 = clock on, 0 = off
    dir="$JOT_ROOT/build/$JOT_FLAVOUR/clock-bench-$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    cp build/$JOT_FLAVOUR/Jotstack.exe "$dir/"
    printf '[ParaBlock]\r\nPARA_CLOCK_SHOW=%s\r\nPARA_CLOCK_RADIUS=100\r\nPARA_CLOCK_SHOW_SECOND=1\r\nPARA_CLOCK_SHOW_MOON=1\r\nPARA_CLOCK_TRANSPARENCY=0\r\nPARA_CLOCK_X=300\r\nPARA_CLOCK_Y=200\r\n' "$1" > "$dir/Jotstack.ini"
    (cd "$dir" && exec wine "$dir/Jotstack.exe") >/dev/null 2>&1 &
    launcher=$!
    sleep 15   # start-up, tray icon, first paints
    winpath=$(wine winepath -w "$dir/Jotstack.exe" 2>/dev/null || echo Jotstack.exe)
    pid=$(find_process "$winpath" || find_process "clock-bench-$1/Jotstack.exe" || echo "")
    server=$(find_wineserver || echo "")
    if [ -z "$pid" ]; then
        echo "Jotstack.exe did not start" >&2
        kill "$launcher" 2>/dev/null || true
        return 1
    fi
    p0=$(cpu_ticks "$pid"); s0=$(cpu_ticks "${server:-0}"); x0=$(cpu_ticks "${JOT_OWN_XVFB:-0}")
    sleep "$SECONDS_TO_MEASURE"
    p1=$(cpu_ticks "$pid"); s1=$(cpu_ticks "${server:-0}"); x1=$(cpu_ticks "${JOT_OWN_XVFB:-0}")
    label=$([ "$1" = 1 ] && echo "clock with second hand and moon" || echo "clock off")
    awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v x=$((x1 - x0)) -v hz="$HZ" -v t="$SECONDS_TO_MEASURE" -v l="$label" \
        'BEGIN { printf "%s, %d s: Jotstack.exe %.2f %% of one core, wineserver %.2f %%, Xvfb %.2f %%\n", l, t, 100 * p / hz / t, 100 * s / hz / t, 100 * x / hz / t }'
    kill "$pid" 2>/dev/null || true
    kill "$launcher" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$dir"
}

measure 1
measure 0
jot_stop_display
