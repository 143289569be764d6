#!/bin/sh
# Builds everything and runs every test: the portable core natively (ctest),
# then the Win32 GoogleTest executable, the cross-built jotcal and the
# end-to-end tests of the real Jotstack.exe under Wine, in a fresh prefix.
# Installs what is missing first (Debian 12, as root).
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

./scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset win32
cmake --build --preset win32

# One X display and one fresh Wine prefix for all Windows tests.
JOT_FRESH_PREFIX=1
. "$JOT_ROOT/scripts/wine-env.sh"
unset JOT_FRESH_PREFIX
status=0
ctest --test-dir build/win32 --output-on-failure || status=$?
./scripts/print-e2e.sh || status=$?
wineserver -k >/dev/null 2>&1 || true
[ -n "$JOT_OWN_XVFB" ] && kill "$JOT_OWN_XVFB" 2>/dev/null || true
exit $status
