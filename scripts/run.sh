#!/bin/sh
# Builds Jotstack.exe and starts it under Wine. With $DISPLAY set it runs on
# that display until the user chooses "退出". Without one it starts an Xvfb
# display, brings the window out of the tray (a second start does that),
# leaves a screenshot and prints its path; the program keeps running there.
# Installs what is missing first (Debian 12, as root).
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

./scripts/install-deps.sh
cmake --preset win32
cmake --build --preset win32 --target Jotstack

had_display=${DISPLAY:-}
. "$JOT_ROOT/scripts/wine-env.sh"
# The notes file and the settings live beside the executable.
mkdir -p build/win32/run
cp build/win32/Jotstack.exe build/win32/run/Jotstack.exe
cd build/win32/run

if [ -n "$had_display" ]; then
    exec wine Jotstack.exe
fi

wine Jotstack.exe >/dev/null 2>&1 &
# Start-up ends with the window hidden in the tray; a second start shows it.
sleep 8
wine Jotstack.exe >/dev/null 2>&1 || true
sleep 3
shot="$JOT_ROOT/build/win32/run/jotstack-screenshot.png"
import -window root "$shot"
echo "Jotstack runs on DISPLAY=$DISPLAY (Xvfb pid ${JOT_OWN_XVFB:-?}); stop it with: WINEPREFIX=$WINEPREFIX wineserver -k"
echo "screenshot: $shot"
