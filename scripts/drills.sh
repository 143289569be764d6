#!/bin/sh
# The long drills that keep the promise "notes are never lost", too long for
# scripts/test.sh. Builds what is needed, then under Wine:
#   - kills the program at random moments of a save over a big notebook
#     (JOT_KILL_TRIALS, default 200) and checks that the storage file is
#     always the old or the new notes and the backup a whole generation;
#   - starts ten copies at the same moment (JOT_STORM_ROUNDS, default 20)
#     and checks that exactly one runs and the notes are untouched;
#   - loads and saves back a 10,000-page notebook and a 50 MB ANSI file;
#   - the failed-save drills (locked file, folder without rights, full disk,
#     logoff with an emergency copy);
# and then runs every fuzzing harness (FUZZ_SECONDS each, default 300).
#
#   scripts/drills.sh            everything
#   SKIP_FUZZ=1 scripts/drills.sh
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

. "$JOT_ROOT/scripts/machine.sh"
# JOT_FLAVOUR=win32 or win64 picks the program (default: win32 where it runs).
export JOT_FLAVOUR=${JOT_FLAVOUR:-$JOT_DEFAULT_FLAVOUR}
cmake --preset $JOT_FLAVOUR >/dev/null
cmake --build --preset $JOT_FLAVOUR --target Jotstack jot_e2e_tests

export JOT_KILL_TRIALS=${JOT_KILL_TRIALS:-200}
export JOT_STORM_ROUNDS=${JOT_STORM_ROUNDS:-20}
export JOT_LONG_DRILLS=1
export JOTSTACK_EXE="$JOT_ROOT/build/$JOT_FLAVOUR/Jotstack.exe"

. "$JOT_ROOT/scripts/wine-env.sh"
# The tests run from a folder of their own.
work=$(mktemp -d)
status=0
(cd "$work" && wine "$JOT_ROOT/build/$JOT_FLAVOUR/tests/e2e/jot_e2e_tests.exe" --gtest_color=no \
    --gtest_filter='*KillingTheProcessDuringSaves*:*TenCopies*:*HugeNotebooks*:FailedSave*') || status=$?
rmdir "$work" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
jot_stop_display

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
    ./scripts/fuzz.sh "${FUZZ_SECONDS:-300}" || status=$?
fi
exit $status
