#!/bin/sh
# Builds Jotstack.exe and starts it under Wine. With $DISPLAY set it runs on
# that display until the user chooses "退出". Without one it starts an Xvfb
# display with a window manager, brings the window out of the tray (a second
# start does that), leaves a screenshot and prints its path; the program
# keeps running there. Installs what is missing first (Debian 12, as root).
#
#   scripts/run.sh [--flavour win32|win64]
#
# The 32-bit program runs where the machine executes 32-bit code, the
# 64-bit one everywhere else; --flavour chooses.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

flavour=
while [ $# -gt 0 ]; do
    case "$1" in
        --flavour) flavour=${2:-}; shift 2 ;;
        --flavour=*) flavour=${1#--flavour=}; shift ;;
        *) echo "usage: scripts/run.sh [--flavour win32|win64]" >&2; exit 2 ;;
    esac
done

./scripts/install-deps.sh
. "$JOT_ROOT/scripts/machine.sh"
JOT_FLAVOUR=${flavour:-$JOT_DEFAULT_FLAVOUR}
case "$JOT_FLAVOUR" in
    win32)
        if [ "$JOT_RUNS_32BIT" != yes ]; then
            echo "run.sh: this machine does not execute 32-bit code; try --flavour win64" >&2
            exit 2
        fi ;;
    win64) ;;
    *) echo "usage: scripts/run.sh [--flavour win32|win64]" >&2; exit 2 ;;
esac
cmake --preset $JOT_FLAVOUR
cmake --build --preset $JOT_FLAVOUR --target Jotstack

had_display=${DISPLAY:-}
. "$JOT_ROOT/scripts/wine-env.sh"
# The notes file and the settings live beside the executable.
run=build/$JOT_FLAVOUR/run
mkdir -p $run
cp build/$JOT_FLAVOUR/Jotstack.exe $run/Jotstack.exe
cd $run

if [ -n "$had_display" ]; then
    exec wine Jotstack.exe
fi

wine Jotstack.exe >/dev/null 2>&1 &
# Start-up ends with the window hidden in the tray; a second start shows it.
sleep 8
wine Jotstack.exe >/dev/null 2>&1 || true
sleep 3
shot="$JOT_ROOT/$run/jotstack-screenshot.png"
import -window root "$shot"
echo "Jotstack ($JOT_FLAVOUR) runs on DISPLAY=$DISPLAY (Xvfb pid ${JOT_OWN_XVFB:-?}); stop it with: WINEPREFIX=$WINEPREFIX wineserver -k"
echo "screenshot: $shot"
