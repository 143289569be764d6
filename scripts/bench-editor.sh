#!/bin/sh
# Times the page editor of the real Jotstack.exe under Wine on a page of
# 1,000,000 characters with 50,000 matches (Replace All, Find Next, the
# word-wrap toggle, date/time) next to Wine's notepad.exe, and the edit
# control's own time to take the result text (the floor).
#
#   scripts/bench-editor.sh
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
. "$JOT_ROOT/scripts/machine.sh"
# JOT_FLAVOUR=win32 or win64 picks the program (default: win32 where it runs).
export JOT_FLAVOUR=${JOT_FLAVOUR:-$JOT_DEFAULT_FLAVOUR}
cmake --preset $JOT_FLAVOUR >/dev/null
cmake --build --preset $JOT_FLAVOUR --target jot_editor_bench Jotstack >/dev/null
. "$JOT_ROOT/scripts/wine-env.sh"
export JOTSTACK_EXE="$JOT_ROOT/build/$JOT_FLAVOUR/Jotstack.exe"
wine build/$JOT_FLAVOUR/bench/jot_editor_bench.exe
jot_stop_display
