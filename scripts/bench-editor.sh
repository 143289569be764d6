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
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target jot_editor_bench Jotstack >/dev/null
. "$JOT_ROOT/scripts/wine-env.sh"
export JOTSTACK_EXE="$JOT_ROOT/build/win32/Jotstack.exe"
wine build/win32/bench/jot_editor_bench.exe
[ -n "$JOT_OWN_XVFB" ] && kill "$JOT_OWN_XVFB" 2>/dev/null || true
