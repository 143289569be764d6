#!/bin/sh
# Times `jotcal days 1901-01-01 2100-12-31` as a whole process: the full
# 200-year dump, start-up and output included (goal: well under a second).
#
#   scripts/bench-jotcal.sh [path/to/jotcal] [runs]
#
# Uses hyperfine when it is installed, otherwise a loop timed with date.
# Also prints the line count and SHA-256 of the dump, so that a speed change
# can be checked not to have changed any printed value.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
JOTCAL=${1:-$JOT_ROOT/build/native/tools/jotcal}
RUNS=${2:-10}

if [ ! -x "$JOTCAL" ]; then
    echo "bench-jotcal: $JOTCAL not found; build it with: cmake --build --preset native --target jotcal" >&2
    exit 1
fi

out=$(mktemp)
trap 'rm -f "$out"' EXIT INT TERM
"$JOTCAL" days 1901-01-01 2100-12-31 >"$out"
echo "dump: $(wc -l <"$out") lines, sha256 $(sha256sum "$out" | cut -d' ' -f1)"

if command -v hyperfine >/dev/null 2>&1; then
    hyperfine --warmup 1 --runs "$RUNS" "'$JOTCAL' days 1901-01-01 2100-12-31 >/dev/null"
    exit 0
fi

times=""
i=0
while [ "$i" -lt "$RUNS" ]; do
    start=$(date +%s.%N)
    "$JOTCAL" days 1901-01-01 2100-12-31 >/dev/null
    end=$(date +%s.%N)
    times="$times $start:$end"
    i=$((i + 1))
done
echo "$times" | tr ' ' '\n' | awk -F: -v runs="$RUNS" '
    NF == 2 { t = $2 - $1; sum += t; if (best == "" || t < best) best = t }
    END { printf "jotcal days 1901-01-01 2100-12-31: mean %.3f s, best %.3f s over %d runs\n", sum / runs, best, runs }'
