#!/bin/sh
# Builds the release zips for Windows users, one per flavour:
#
#   scripts/package.sh [win32] [win64]
#       ->  build/package/Jotstack-<version>-x86.zip  (32-bit)
#           build/package/Jotstack-<version>-x64.zip  (64-bit)
#
# Without arguments it makes both and prints their paths, one a line. Each
# zip holds Jotstack.exe, the user guide Jotstack.htm with its images/
# folder, and 说明.txt, all at its top level. The version is the one in the
# program's version resource (res/jotstack.rc, FILEVERSION a,b,... -> a.b).
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\).*/\1.\2/p' res/jotstack.rc | head -n 1)
[ -n "$version" ] || { echo "package.sh: no FILEVERSION in res/jotstack.rc" >&2; exit 1; }

[ $# -gt 0 ] || set -- win32 win64
for flavour in "$@"; do
    case "$flavour" in
        win32) arch=x86; strip=i686-w64-mingw32-strip ;;
        win64) arch=x64; strip=x86_64-w64-mingw32-strip ;;
        *) echo "package.sh: unknown flavour '$flavour' (win32 or win64)" >&2; exit 2 ;;
    esac
    # Configured once; the release test runs this from inside ctest, where a
    # fresh configure would rewrite the test list under its feet.
    [ -f build/$flavour/CMakeCache.txt ] || cmake --preset $flavour >/dev/null
    cmake --build --preset $flavour --target Jotstack >&2

    stage=build/package/Jotstack-$version-$arch
    zip=build/package/Jotstack-$version-$arch.zip
    rm -rf "$stage" "$zip"
    mkdir -p "$stage/images"
    cp build/$flavour/Jotstack.exe "$stage/Jotstack.exe"
    # The static runtime carries a lot of symbols a user never needs.
    $strip "$stage/Jotstack.exe" 2>/dev/null || true
    cp guide/Jotstack.htm "$stage/Jotstack.htm"
    cp guide/images/*.png "$stage/images/"
    # Windows' Notepad reads UTF-8 with a byte-order mark and CR LF line ends.
    { printf '\357\273\277'; sed 's/$/\r/' guide/说明.txt; } > "$stage/说明.txt"

    # Python's zipfile marks the Chinese file name as UTF-8 (flag 0x800), which
    # Windows Explorer and 7-Zip honour.
    python3 - "$stage" "$zip" <<'PY'
import os, sys, zipfile
stage, out = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for root, dirs, files in os.walk(stage):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(root, name)
            z.write(path, os.path.relpath(path, stage).replace(os.sep, "/"))
PY
    echo "$zip"
done
