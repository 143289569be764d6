#!/bin/sh
# Runs one Windows program under Wine; ctest's emulator for the win32 preset.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$JOT_ROOT/scripts/wine-env.sh"
set +e
wine "$@"
rc=$?
[ -n "$JOT_OWN_XVFB" ] && kill "$JOT_OWN_XVFB" 2>/dev/null
exit $rc
