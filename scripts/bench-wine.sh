#!/bin/sh
# Times the real Jotstack.exe under Wine (start-up to tray icon against
# Wine's notepad.exe, private memory, loading and saving 50 pages of 200,000
# characters) and plain cp of the same notebook on the same run.
#
#   scripts/bench-wine.sh [runs]
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target jot_wine_bench Jotstack >/dev/null
. "$JOT_ROOT/scripts/wine-env.sh"
export JOTSTACK_EXE="$JOT_ROOT/build/win32/Jotstack.exe"
wine build/win32/bench/jot_wine_bench.exe "${1:-5}"

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
[ -n "$JOT_OWN_XVFB" ] && kill "$JOT_OWN_XVFB" 2>/dev/null || true
