#!/bin/sh
# Times the real Jotstack.exe under Wine (start-up to tray icon against
# Wine's notepad.exe, private memory, loading and saving 50 pages of 200,000
# characters) and plain cp of the same notebook on the same run; every
# flavour the machine runs (32-bit and 64-bit) one after the other, on the
# same display, so that their figures can be set side by side.
#
#   scripts/bench-wine.sh [runs]
#   JOT_FLAVOUR=win64 scripts/bench-wine.sh    one flavour only
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
. "$JOT_ROOT/scripts/machine.sh"
for flavour in ${JOT_FLAVOUR:-$JOT_FLAVOURS}; do
    cmake --preset $flavour >/dev/null
    cmake --build --preset $flavour --target jot_wine_bench Jotstack >/dev/null
    JOT_FLAVOUR=$flavour
    . "$JOT_ROOT/scripts/wine-env.sh"
    export JOTSTACK_EXE="$JOT_ROOT/build/$flavour/Jotstack.exe"
    echo "== $flavour: $(stat -c %s "$JOTSTACK_EXE") bytes"
    wine build/$flavour/bench/jot_wine_bench.exe "${1:-5}"
    wineserver -k >/dev/null 2>&1 || true
done

# The same notebook copied by cp, for scale.
tmp=$(mktemp -d)
python3 - "$tmp/notes.txt" <<'PY'
import sys
sep = "\f\f\f\f\a\a\a\a\b\b\b\b"
parts = []
for p in range(50):
    body = ""
    line = chr(ord("一") + p) * 78 + "\r\n"
    body = (line * (200000 // len(line) + 1))[:200000]
    if body.endswith("\r"):
        body = body[:-1] + "x"
    parts.append(sep + "页%d\r\n" % p + body)
open(sys.argv[1], "wb").write(b"\xff\xfe" + "".join(parts).encode("utf-16-le"))
PY
start=$(date +%s%N)
cp "$tmp/notes.txt" "$tmp/copy.txt"
sync "$tmp/copy.txt" 2>/dev/null || true
end=$(date +%s%N)
echo "cp of the same notebook (with sync): $(( (end - start) / 1000000 )) ms"
rm -rf "$tmp"
jot_stop_display
