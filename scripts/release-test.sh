#!/bin/sh
# The release as a Windows user gets it: builds the zip (scripts/package.sh),
# unpacks it into a fresh Wine prefix, into a folder whose path holds blanks
# and Chinese characters, and runs the ReleaseE2E tests against the program
# in that folder: it starts there, shows its tray icon, opens the guide from
# the Help command, and creates its notes file beside itself. JOT_FLAVOUR
# (win32 or win64, as for wine-env.sh) says which zip.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

. "$JOT_ROOT/scripts/machine.sh"
JOT_FLAVOUR=${JOT_FLAVOUR:-$JOT_DEFAULT_FLAVOUR}
zip=$(scripts/package.sh $JOT_FLAVOUR | tail -n 1)
cmake --build --preset $JOT_FLAVOUR --target jot_e2e_tests >/dev/null

JOT_WINEPREFIX=$JOT_ROOT/build/release-test-$JOT_FLAVOUR/wineprefix
JOT_FRESH_PREFIX=1
. "$JOT_ROOT/scripts/wine-env.sh"
unset JOT_FRESH_PREFIX

folder="用户 文件/Jotstack 3.0"
python3 - "$zip" "$WINEPREFIX/drive_c/$folder" <<'PY'
import sys, zipfile
zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])
PY

status=0
JOTSTACK_RELEASE_DIR="C:\\用户 文件\\Jotstack 3.0" \
    wine build/$JOT_FLAVOUR/tests/e2e/jot_e2e_tests.exe --gtest_filter='ReleaseE2E.*' --gtest_color=no || status=$?
wineserver -k >/dev/null 2>&1 || true
jot_stop_display
exit $status
