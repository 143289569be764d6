#!/bin/sh
# Makes a printer that Wine can print to and tests can read back: CUPS with
# the cups-pdf back end as the printer "JotstackPDF", writing each job as a
# PDF file into $JOT_PDF_DIR (default /tmp/jotstack-pdf). Installs what is
# missing (Debian, as root), starts cupsd when it is not running, and sets
# the printer up once. Safe to run again. Exit status 0 when the printer is
# ready.
set -eu
JOT_PDF_DIR=${JOT_PDF_DIR:-/tmp/jotstack-pdf}

have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "ok installed"; }
need=""
# libcups2:i386 lets the 32-bit Wine see the CUPS printers.
for p in cups cups-bsd printer-driver-cups-pdf poppler-utils libcups2:i386; do
    have_pkg "$p" || need="$need $p"
done
if [ -n "$need" ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq || true
    apt-get install -y -qq --no-install-recommends $need
fi

mkdir -p "$JOT_PDF_DIR"
chmod 1777 "$JOT_PDF_DIR"
# Every job's PDF lands in one folder, whoever printed it.
conf=/etc/cups/cups-pdf.conf
if ! grep -qx "Out $JOT_PDF_DIR" "$conf" 2>/dev/null; then
    sed -i '/^Out /d; /^AnonDirName /d' "$conf"
    printf 'Out %s\nAnonDirName %s\n' "$JOT_PDF_DIR" "$JOT_PDF_DIR" >> "$conf"
fi

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    # No init system in containers: start the daemon by hand.
    /usr/sbin/cupsd
    i=0
    while ! lpstat -r 2>/dev/null | grep -q "is running" && [ $i -lt 50 ]; do
        sleep 0.2
        i=$((i + 1))
    done
fi

if ! lpstat -p JotstackPDF >/dev/null 2>&1; then
    lpadmin -p JotstackPDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
fi
lpadmin -d JotstackPDF
cupsenable JotstackPDF 2>/dev/null || true
cupsaccept JotstackPDF 2>/dev/null || true
lpstat -p JotstackPDF >/dev/null
