#!/bin/sh
# Prints from the real Jotstack.exe under Wine to a CUPS PDF printer and
# checks the jobs: the end-to-end tests PrintE2E.* print and leave each
# job's PDF with what it must hold (pages, text); this script reads the
# PDFs back with pdfinfo and pdftotext. Needs the build of the flavour
# JOT_FLAVOUR names (win32 or win64, as for wine-env.sh).
set -eu
JOT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$JOT_ROOT"

export JOT_PDF_DIR=${JOT_PDF_DIR:-/tmp/jotstack-pdf}
./scripts/cups-pdf-printer.sh

JOT_PRINT_CHECK_DIR=$(mktemp -d /tmp/jotstack-print-check.XXXXXX)
export JOT_PRINT_CHECK_DIR
. "$JOT_ROOT/scripts/wine-env.sh"
export JOTSTACK_EXE="$JOT_ROOT/build/$JOT_FLAVOUR/Jotstack.exe"
status=0
wine build/$JOT_FLAVOUR/tests/e2e/jot_e2e_tests.exe --gtest_color=no --gtest_filter="${JOT_PRINT_FILTER:-PrintE2E.*}" || status=$?

checked=0
for expect in "$JOT_PRINT_CHECK_DIR"/*.expect; do
    [ -e "$expect" ] || continue
    pdf=${expect%.expect}.pdf
    name=$(basename "${expect%.expect}")
    pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
    want=$(awk '/^pages / {print $2}' "$expect")
    if [ "$want" != "-1" ] && [ "$pages" != "$want" ]; then
        echo "FAIL $name: $pages pages, expected $want"
        status=1
    else
        echo "ok   $name: $pages pages"
    fi
    pdftotext -layout "$pdf" "$pdf.txt"
    # Each expected text on one line of the output.
    grep '^text ' "$expect" | cut -c6- | while IFS= read -r t; do
        if ! grep -qF -- "$t" "$pdf.txt"; then
            echo "FAIL $name: \"$t\" not in the printed text"
            exit 1
        fi
    done || status=1
    # And what must not be printed (pages left out of a range).
    grep '^notext ' "$expect" | cut -c8- | while IFS= read -r t; do
        if grep -qF -- "$t" "$pdf.txt"; then
            echo "FAIL $name: \"$t\" was printed"
            exit 1
        fi
    done || status=1
    checked=$((checked + 1))
done
if [ "$checked" -eq 0 ]; then
    echo "FAIL no print job was checked"
    status=1
fi
wineserver -k >/dev/null 2>&1 || true
jot_stop_display
rm -rf "$JOT_PRINT_CHECK_DIR"
exit $status
