#!/bin/sh
# Notebooks of any size under Wine: start-up with 1 and with 10,000 pages,
# the windows the program owns after it, the switch to a page never shown,
# the save of a 19 MB notebook with one page changed and the page manager's
# operations (bench/wine_notebook.cpp), then cp and sync of the same file on
# the same disk, for scale.
#
#   scripts/bench-notebook.sh [runs]
#   JOT_FLAVOUR=win32 scripts/bench-notebook.sh    the 32-bit program
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
. "$JOT_ROOT/scripts/machine.sh"
export JOT_FLAVOUR=${JOT_FLAVOUR:-win64}
cmake --preset $JOT_FLAVOUR >/dev/null
cmake --build --preset $JOT_FLAVOUR --target jot_notebook_wine_bench Jotstack >/dev/null
. "$JOT_ROOT/scripts/wine-env.sh"
export JOTSTACK_EXE="$JOT_ROOT/build/$JOT_FLAVOUR/Jotstack.exe"
tmp=$(mktemp -d "$JOT_ROOT/build/bench-notebook.XXXXXX")
export JOT_BENCH_NOTEBOOK="$tmp/notebook.txt"
echo "== $JOT_FLAVOUR"
wine build/$JOT_FLAVOUR/bench/jot_notebook_wine_bench.exe "${1:-3}"
if [ -f "$JOT_BENCH_NOTEBOOK" ]; then
    for i in 1 2 3; do
        start=$(date +%s%N)
        cp "$JOT_BENCH_NOTEBOOK" "$tmp/copy.txt"
        sync "$tmp/copy.txt" 2>/dev/null || sync
        end=$(date +%s%N)
        echo "cp + sync of the same $(stat -c %s "$JOT_BENCH_NOTEBOOK") bytes: $(( (end - start) / 1000000 )) ms"
        rm -f "$tmp/copy.txt"
    done
fi
rm -rf "$tmp"
wineserver -k >/dev/null 2>&1 || true
jot_stop_display
