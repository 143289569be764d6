#!/bin/sh
# Builds every fuzz/*_fuzz.cpp harness with clang, libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each for the
# given number of seconds (default 60), starting from its checked-in corpus
# fuzz/corpus/<name>/. New inputs go to build/fuzz/corpus/<name>/, crashes
# to build/fuzz/crashes/<name>/; copy a fixed crash into fuzz/corpus/<name>/
# and the native test build replays it from then on.
#
#   scripts/fuzz.sh [SECONDS] [NAME...]      e.g. scripts/fuzz.sh 600 storage_codec
#
# Prints one line per harness: its executions, executions per second and
# whether it found anything. Exits non-zero when any harness crashed.
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

SECONDS_EACH=60
case "${1:-}" in
    ''|*[!0-9]*) ;;
    *) SECONDS_EACH=$1; shift ;;
esac

BUILD=build/fuzz
SAN="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link $SAN" \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $SAN" \
    -DCMAKE_EXE_LINKER_FLAGS="$SAN" \
    -DJOT_FUZZ=ON >/dev/null

if [ $# -eq 0 ]; then
    set --
    for f in fuzz/*_fuzz.cpp; do
        n=$(basename "$f" _fuzz.cpp)
        set -- "$@" "$n"
    done
fi

targets=
for n in "$@"; do targets="$targets ${n}_fuzz"; done
# shellcheck disable=SC2086
cmake --build "$BUILD" -j2 --target $targets

status=0
summary=
for n in "$@"; do
    work="$BUILD/corpus/$n"
    crashes="$BUILD/crashes/$n"
    mkdir -p "$work" "$crashes" "fuzz/corpus/$n"
    log="$BUILD/$n.log"
    echo "== $n: ${SECONDS_EACH}s"
    rc=0
    ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$BUILD/fuzz/${n}_fuzz" -max_total_time="$SECONDS_EACH" -print_final_stats=1 \
        -rss_limit_mb=2048 -timeout=25 -artifact_prefix="$crashes/" \
        "$work" "fuzz/corpus/$n" >"$log" 2>&1 || rc=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [ $rc -eq 0 ]; then
        result=ok
    else
        result="FOUND A PROBLEM (see $log and $crashes)"
        status=1
        tail -40 "$log"
    fi
    line="$n: ${runs:-?} executions, ${rate:-?}/s, $result"
    echo "$line"
    summary="$summary
$line"
done
echo "== summary$summary"
exit $status
