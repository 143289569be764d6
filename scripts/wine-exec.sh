#!/bin/sh
# Runs one Windows program under Wine; ctest's emulator for the win32 and
# win64 presets, which name their flavour first:
#   wine-exec.sh win64 program.exe args...
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
case "${1:-}" in
    win32 | win64) JOT_FLAVOUR=$1; shift ;;
esac
. "$JOT_ROOT/scripts/wine-env.sh"
set +e
wine "$@"
rc=$?
jot_stop_display
exit $rc
