#!/bin/sh
# Builds everything and runs every test: the portable core natively (ctest),
# then both Windows flavours, 32-bit (win32) and 64-bit (win64); under Wine,
# for every flavour this machine can run, the Win32 GoogleTest executable,
# the cross-built tools and the end-to-end tests of the real Jotstack.exe,
# each flavour in a fresh prefix; where both run, the two flavours on one
# notebook. Installs what is missing first (Debian 12, as root).
#
# JOT_NO_32BIT=1 takes the path of a machine that runs no 32-bit code.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
started=$(date +%s)

./scripts/install-deps.sh
. "$JOT_ROOT/scripts/machine.sh"
echo "test.sh: 32-bit x86 code runs here: $JOT_RUNS_32BIT; flavours under test: $JOT_FLAVOURS"

cmake --preset native
cmake --build --preset native
ctest --preset native

# Both flavours build on every machine: the release holds both.
for flavour in win32 win64; do
    cmake --preset $flavour
    cmake --build --preset $flavour
done

status=0
tested=
for flavour in $JOT_FLAVOURS; do
    echo "test.sh: Windows tests of the $flavour flavour"
    JOT_FLAVOUR=$flavour
    JOT_FRESH_PREFIX=1
    . "$JOT_ROOT/scripts/wine-env.sh"
    unset JOT_FRESH_PREFIX
    # The 64-bit prefix also runs the 32-bit program where it can: both
    # flavours on one notebook, as users switch between them.
    if [ "$flavour" = win64 ] && [ "$JOT_RUNS_32BIT" = yes ]; then
        export JOTSTACK_EXE_X86="$JOT_ROOT/build/win32/Jotstack.exe"
    else
        unset JOTSTACK_EXE_X86
    fi
    ctest --test-dir build/$flavour --output-on-failure || status=$?
    ./scripts/print-e2e.sh || status=$?
    wineserver -k >/dev/null 2>&1 || true
    # Wine takes files dropped by older X programs (OffiX) only on a display
    # without a window manager: those tests again on a bare display of their own.
    (
        unset DISPLAY JOT_OWN_XVFB JOT_OWN_WM
        JOT_NO_WM=1
        . "$JOT_ROOT/scripts/wine-env.sh"
        rc=0
        JOTSTACK_EXE="$JOT_ROOT/build/$flavour/Jotstack.exe" \
            wine build/$flavour/tests/e2e/jot_e2e_tests.exe --gtest_color=no \
            --gtest_filter="${JOT_BARE_DISPLAY_TESTS:-XFileDropE2E.FilesFromAnOlderXProgram*}" || rc=$?
        wineserver -k >/dev/null 2>&1 || true
        jot_stop_display
        exit $rc
    ) || status=$?
    tested="$tested $flavour"
done
jot_stop_display

echo "test.sh: flavours tested:$tested; $(( $(date +%s) - started )) s in all; exit status $status"
exit $status
